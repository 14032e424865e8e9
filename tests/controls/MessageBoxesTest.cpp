#include "controls/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(MessageBoxes, HookSeesEveryBoxAndAnswersQuestions)
{
    QList<std::pair<MessageKind, QString>> shown;
    bool answer = true;
    setMessageHook([&](MessageKind kind, const QString &text) {
        shown.append({kind, text});
        return answer;
    });
    errorBox("Broken");
    infoBox("Done");
    EXPECT_TRUE(askYesNoCancel("Go on?"));
    answer = false;
    EXPECT_FALSE(askYesNoCancel("Really?"));
    setMessageHook(nullptr);

    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[0], std::make_pair(MessageKind::Error, QString("Broken")));
    EXPECT_EQ(shown[1], std::make_pair(MessageKind::Information, QString("Done")));
    EXPECT_EQ(shown[2], std::make_pair(MessageKind::Question, QString("Go on?")));
}

namespace {

// What a real box looked like when it came up, and the button that answered it.
struct SeenBox
{
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
};

// Answers the next box that opens with the given button and records how it looked.
void answerNextBox(SeenBox &seen, QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, [&seen, answer] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->isModal()};
        box->button(answer)->click();
    });
}

} // namespace

TEST(MessageBoxes, RealBoxesHaveTheirTitlesIconsAndButtons)
{
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    errorBox("Disk gone");
    EXPECT_EQ(seen.title, "Error");
    EXPECT_EQ(seen.text, "Disk gone");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_TRUE(seen.modal);

    answerNextBox(seen, QMessageBox::Ok);
    infoBox("All done");
    EXPECT_EQ(seen.title, "Information");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);

    // Only Yes goes on.
    const auto allThree = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    answerNextBox(seen, QMessageBox::Yes);
    EXPECT_TRUE(askYesNoCancel("Go on?"));
    EXPECT_EQ(seen.buttons, allThree);
    answerNextBox(seen, QMessageBox::No);
    EXPECT_FALSE(askYesNoCancel("Go on?"));
    answerNextBox(seen, QMessageBox::Cancel);
    EXPECT_FALSE(askYesNoCancel("Go on?"));
}
