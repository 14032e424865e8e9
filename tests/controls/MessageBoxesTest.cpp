#include "controls/MessageBoxes.h"

#include <QList>
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
