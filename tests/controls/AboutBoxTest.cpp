#include "controls/AboutBox.h"

#include "controls/MessageBoxes.h"
#include "platform/ShellOpen.h"

#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Records what the dialog asks of the browser and of the message boxes.
struct AboutFixture : ::testing::Test
{
    QList<QUrl> opened;
    bool browserWorks = true;
    QStringList errors;
    TfrmAbout about;

    void SetUp() override
    {
        platform::setUrlOpener([this](const QUrl &url) {
            opened.append(url);
            return browserWorks;
        });
        setMessageHook([this](MessageKind kind, const QString &text) {
            if (kind == MessageKind::Error)
                errors.append(text);
            return false;
        });
        about.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    }

    void TearDown() override
    {
        platform::setUrlOpener({});
        setMessageHook({});
    }
};

} // namespace

TEST_F(AboutFixture, LinkOpensTheHomePageAndKeepsTheDialogOpen)
{
    QTest::mouseClick(about.Label5, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], makerHomePage());
    EXPECT_TRUE(about.isVisible());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(AboutFixture, ButtonsUseTheMappedWindowFont)
{
    for (QPushButton *button : {about.OKButton, about.btWeb})
        EXPECT_EQ(QFontInfo(button->font()).family(), "Liberation Sans");
}

TEST_F(AboutFixture, HomePageButtonOpensThePageAndCloses)
{
    QTest::mouseClick(about.btWeb, Qt::LeftButton);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(AboutFixture, FailingBrowserShowsTheErrorAndTheButtonStillCloses)
{
    browserWorks = false;
    QTest::mouseClick(about.Label5, Qt::LeftButton);
    EXPECT_EQ(errors, QStringList{"Couldn't open web browser for home page."});
    EXPECT_TRUE(about.isVisible());
    QTest::mouseClick(about.btWeb, Qt::LeftButton);
    EXPECT_EQ(errors.size(), 2);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(AboutFixture, OkEnterAndTheCloseBoxAllClose)
{
    EXPECT_EQ(about.focusWidget(), about.OKButton);
    QTest::mouseClick(about.OKButton, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);

    about.open();
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);

    about.open();
    about.close();
    EXPECT_FALSE(about.isVisible());
    EXPECT_TRUE(opened.isEmpty());
}
