#include "SelectionFixture.h"
#include "controls/AboutBox.h"
#include "selection/SelectExtension.h"
#include "selection/StatList.h"
#include "selection/WhichDrive.h"

#include <QScreen>

namespace {

struct DialogFrameTest : SelectionFixture
{
    // An opener in the top left corner, so that centring over it and centring on the screen differ.
    QWidget opener;

    void SetUp() override
    {
        SelectionFixture::SetUp();
        opener.setGeometry(0, 0, 120, 90);
        opener.show();
    }

    static void expectFixedInTheMiddle(QDialog &dialog, const QSize &client)
    {
        dialog.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(dialog.size(), client);
        EXPECT_EQ(dialog.minimumSize(), client);
        EXPECT_EQ(dialog.maximumSize(), client);
        // Give or take the window frame.
        const QPoint middle = dialog.screen()->availableGeometry().center();
        EXPECT_LE((dialog.geometry().center() - middle).manhattanLength(), 10);
        EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
        dialog.close();
    }
};

} // namespace

TEST_F(DialogFrameTest, EveryDialogHasItsOwnSizeAndOpensInTheMiddleOfTheScreen)
{
    TfrmWhichDrive wizard(&opener);
    expectFixedInTheMiddle(wizard, QSize(283, 315));
    TfrmStatList editor(&opener);
    editor.ListSection = "Include";
    expectFixedInTheMiddle(editor, QSize(367, 348));
    TfrmSelectExtension picker(&opener);
    expectFixedInTheMiddle(picker, QSize(324, 393));
    TfrmAbout about(&opener);
    expectFixedInTheMiddle(about, QSize(443, 383));
}
