#include "selection/WhichDrive.h"

#include "SelectionFixture.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "selection/StatList.h"
#include "support/PlatformFakes.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QStringList defaults = {"*.doc\tWord document", "*.exe\tProgram", "*.dll\tDLL File"};

struct WizardTest : SelectionFixture
{
    korvel::test::InstalledFolderDrives drives;
    std::unique_ptr<TfrmWhichDrive> wizard;

    void SetUp() override
    {
        SelectionFixture::SetUp();
        // A floppy, a fixed disk with a label, a CD-ROM drive without a disc, a drive of no
        // known type, a network drive.
        const QString folder = home.path();
        drives->addDrive('a', platform::DriveRemovable, "a:", folder);
        drives->addDrive('c', platform::DriveFixed, "c: [system]", folder);
        drives->addDrive('d', platform::DriveCdRom, "d: []", folder);
        drives->addDrive('q', platform::DriveUnknown, "q: [odd]", folder);
        drives->addDrive('x', platform::DriveRemote, "x: //Server/Share", folder);
        drives->setCurrentEntry("c: [system]");
    }

    void TearDown() override
    {
        wizard.reset();
        SelectionFixture::TearDown();
    }

    void openWizard()
    {
        wizard = std::make_unique<TfrmWhichDrive>();
        wizard->open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
    }

    // From page 1 to page 3 with a type filter.
    void goToTypes(QRadioButton *filter)
    {
        QTest::mouseClick(wizard->btNext1, Qt::LeftButton);
        filter->setChecked(true);
        QTest::mouseClick(wizard->btNext2, Qt::LeftButton);
        ASSERT_TRUE(wizard->Panel3->isVisible());
    }
};

} // namespace

TEST_F(WizardTest, DriveListLeavesOutFloppiesAndOddDrivesAndNamesUnlabelledDrivesByType)
{
    openWizard();
    EXPECT_EQ(wizard->pckDrive->Items(),
              QStringList({"c: [system]", "d: (CD-ROM)", "x: //server/share"}));
    EXPECT_EQ(wizard->pickedDrives(), QStringList{"c: [system]"});
    // The hidden drive box keeps the platform's entries as they are.
    EXPECT_FALSE(wizard->cbDrive->isVisible());
    EXPECT_EQ(wizard->cbDrive->count(), 5);
    EXPECT_EQ(wizard->cbDrive->currentText(), "c: [system]");
    EXPECT_TRUE(wizard->Panel1->isVisible());
    EXPECT_FALSE(wizard->Panel2->isVisible());
    EXPECT_TRUE(wizard->btNext1->isEnabled());
    EXPECT_EQ(wizard->size(), QSize(283, 315));
}

TEST_F(WizardTest, EveryDriveStartsPickedWhenNoneIsTheCurrentOne)
{
    drives.install();
    drives->addDrive('c', platform::DriveFixed, "c: []", home.path());
    drives->addDrive('e', platform::DriveRemovable, "e:", home.path());
    drives->addDrive('r', platform::DriveRamDisk, "r: []", home.path());
    drives->addDrive('y', platform::DriveRemote, "y:", home.path());
    drives->setCurrentEntry("c: []");
    openWizard();
    EXPECT_EQ(wizard->pickedDrives(),
              QStringList({"c: (Fixed disk)", "e:", "r: (RAM-Disk)", "y: (Remote disk)"}));

    // A current network drive is found although it is listed in lower case.
    drives.install();
    drives->addDrive('c', platform::DriveFixed, "c: [/]", home.path());
    drives->addDrive('x', platform::DriveRemote, "x: //Server/Share", home.path());
    drives->setCurrentEntry("x: //Server/Share");
    openWizard();
    EXPECT_EQ(wizard->pickedDrives(), QStringList{"x: //server/share"});
}

TEST_F(WizardTest, NextFollowsDrivePicksButAnEmptyPickStillGoesOn)
{
    openWizard();
    clickEntry(wizard->pckDrive, 0);
    EXPECT_FALSE(wizard->btNext1->isEnabled());
    clickEntry(wizard->pckDrive, 2);
    EXPECT_TRUE(wizard->btNext1->isEnabled());
    wizard->Deselectall1->trigger();
    EXPECT_FALSE(wizard->btNext1->isEnabled());
    wizard->SelectAll1->trigger();
    EXPECT_EQ(wizard->pickedDrives().size(), 3);

    // With no drive at all the wizard opens with Next enabled and can be confirmed.
    drives.install();
    openWizard();
    EXPECT_TRUE(wizard->pckDrive->Items().isEmpty());
    EXPECT_TRUE(wizard->btNext1->isEnabled());
    QTest::mouseClick(wizard->btNext1, Qt::LeftButton);
    QTest::mouseClick(wizard->btNext2, Qt::LeftButton);
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_TRUE(wizard->pickedDrives().isEmpty());
}

// Arrow keys and Space work on each page without a Tab first.
TEST_F(WizardTest, EachPageFocusesItsFirstControl)
{
    openWizard();
    EXPECT_EQ(wizard->focusWidget(), wizard->pckDrive);
    QTest::mouseClick(wizard->btNext1, Qt::LeftButton);
    EXPECT_EQ(wizard->focusWidget(), wizard->rbAll);
    QTest::keyClick(wizard->focusWidget(), Qt::Key_Down);
    EXPECT_TRUE(wizard->rbInclude->isChecked());
    QTest::mouseClick(wizard->btNext2, Qt::LeftButton);
    EXPECT_EQ(wizard->focusWidget(), wizard->PickList1);
    QTest::mouseClick(wizard->btPrior3, Qt::LeftButton);
    EXPECT_EQ(wizard->focusWidget(), wizard->rbInclude);
}

TEST_F(WizardTest, AllFilesEndsAtOnceWithOk)
{
    openWizard();
    QTest::mouseClick(wizard->btNext1, Qt::LeftButton);
    EXPECT_TRUE(wizard->Panel2->isVisible());
    EXPECT_TRUE(wizard->rbAll->isChecked());
    QTest::mouseClick(wizard->btNext2, Qt::LeftButton);
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_TRUE(wizard->allTypes);
    EXPECT_FALSE(wizard->includeSelected);
    EXPECT_FALSE(wizard->excludeSelected);
    EXPECT_FALSE(wizard->Panel3->isVisible());
}

TEST_F(WizardTest, IncludeAndExcludePagesShowTheirTitlesAndLists)
{
    WriteStatFilesToDisk({"*.pdf\tPDF document", "*.txt\tPlain text"}, "Include");
    openWizard();
    goToTypes(wizard->rbInclude);
    EXPECT_EQ(wizard->lblSelect->text(), "Selected file types only");
    EXPECT_EQ(wizard->PickList1->Items(),
              QStringList({"*.pdf\tPDF document", "*.txt\tPlain text"}));
    EXPECT_EQ(wizard->lblOf->text(), "0/2");

    QTest::mouseClick(wizard->btPrior3, Qt::LeftButton);
    EXPECT_TRUE(wizard->Panel2->isVisible());
    wizard->rbExclude->setChecked(true);
    QTest::mouseClick(wizard->btNext2, Qt::LeftButton);
    EXPECT_EQ(wizard->lblSelect->text(), "All file types except ...");
    EXPECT_EQ(wizard->PickList1->Items(), defaults);
    EXPECT_EQ(wizard->lblOf->text(), "0/3");

    // Back on page 1 the drive picks are still there.
    QTest::mouseClick(wizard->btPrior3, Qt::LeftButton);
    QTest::mouseClick(wizard->btPrior2, Qt::LeftButton);
    EXPECT_EQ(wizard->pickedDrives(), QStringList{"c: [system]"});
}

TEST_F(WizardTest, OkNeedsADriveAndATypeAndTheCounterFollowsThePicks)
{
    openWizard();
    goToTypes(wizard->rbExclude);
    EXPECT_FALSE(wizard->btOK->isEnabled());
    clickEntry(wizard->PickList1, 1);
    EXPECT_TRUE(wizard->btOK->isEnabled());
    EXPECT_EQ(wizard->lblOf->text(), "1/3");
    clickEntry(wizard->PickList1, 2);
    EXPECT_EQ(wizard->lblOf->text(), "2/3");
    wizard->DeselectAll2->trigger();
    EXPECT_FALSE(wizard->btOK->isEnabled());
    EXPECT_EQ(wizard->lblOf->text(), "0/3");
    wizard->SelectAll2->trigger();
    EXPECT_EQ(wizard->lblOf->text(), "3/3");
    EXPECT_TRUE(wizard->btOK->isEnabled());

    // Without a drive no type is enough.
    wizard->Deselectall1->trigger();
    clickEntry(wizard->PickList1, 0);
    clickEntry(wizard->PickList1, 0);
    EXPECT_FALSE(wizard->btOK->isEnabled());

    // Going back and on again reloads the list and drops the picks.
    wizard->SelectAll1->trigger();
    clickEntry(wizard->PickList1, 0);
    QTest::mouseClick(wizard->btPrior3, Qt::LeftButton);
    QTest::mouseClick(wizard->btNext2, Qt::LeftButton);
    EXPECT_FALSE(wizard->btOK->isEnabled());
    EXPECT_TRUE(wizard->pickedTypes().isEmpty());
}

TEST_F(WizardTest, AddDeleteReloadsTheSavedListWithoutPicks)
{
    openWizard();
    goToTypes(wizard->rbInclude);
    clickEntry(wizard->PickList1, 0);
    ASSERT_TRUE(wizard->btOK->isEnabled());

    whenShown<TfrmStatList>([](TfrmStatList &editor) {
        EXPECT_EQ(editor.ListSection, "Include");
        editor.addUnique("*.txt\tPlain text");
        QTest::mouseClick(editor.btClose, Qt::LeftButton);
    });
    QTest::mouseClick(wizard->btEdit, Qt::LeftButton);
    // The editor keeps its list sorted, and so it was saved.
    EXPECT_EQ(wizard->PickList1->Items(), QStringList({"*.dll\tDLL File", "*.doc\tWord document",
                                                       "*.exe\tProgram", "*.txt\tPlain text"}));
    EXPECT_TRUE(wizard->pickedTypes().isEmpty());
    EXPECT_FALSE(wizard->btOK->isEnabled());
    EXPECT_EQ(wizard->lblOf->text(), "0/4");

    // The editor's close box saves nothing; the list is reloaded all the same.
    clickEntry(wizard->PickList1, 3);
    whenShown<TfrmStatList>([](TfrmStatList &editor) {
        editor.PickList1->clear();
        editor.close();
    });
    QTest::mouseClick(wizard->btEdit, Qt::LeftButton);
    EXPECT_EQ(wizard->PickList1->count(), 4);
    EXPECT_EQ(wizard->lblOf->text(), "0/4");
}

TEST_F(WizardTest, AnswersAfterOkHoldThePickedDrivesAndTypesInListOrder)
{
    openWizard();
    clickEntry(wizard->pckDrive, 2);
    goToTypes(wizard->rbInclude);
    clickEntry(wizard->PickList1, 0);
    QTest::mouseClick(wizard->btOK, Qt::LeftButton);
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_FALSE(wizard->allTypes);
    EXPECT_TRUE(wizard->includeSelected);
    EXPECT_FALSE(wizard->excludeSelected);
    EXPECT_EQ(wizard->pickedDrives(), QStringList({"c: [system]", "x: //server/share"}));
    EXPECT_EQ(wizard->pickedTypes(), QStringList{"*.doc\tWord document"});
}

TEST_F(WizardTest, CancelAndTheCloseBoxEndWithCancel)
{
    openWizard();
    QTest::mouseClick(wizard->btCancel1, Qt::LeftButton);
    EXPECT_EQ(wizard->result(), QDialog::Rejected);

    openWizard();
    goToTypes(wizard->rbInclude);
    wizard->close();
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
}

TEST_F(WizardTest, EnterPressesTheDefaultButtonOfTheShownPage)
{
    openWizard();
    QTest::keyClick(wizard->pckDrive, Qt::Key_Return);
    ASSERT_TRUE(wizard->Panel2->isVisible());
    wizard->rbInclude->setChecked(true);
    QTest::keyClick(wizard->rbInclude, Qt::Key_Return);
    ASSERT_TRUE(wizard->Panel3->isVisible());
    // OK is the default button but stays deaf while no type is picked.
    QTest::keyClick(wizard->PickList1, Qt::Key_Return);
    EXPECT_TRUE(wizard->isVisible());
    clickEntry(wizard->PickList1, 0);
    QTest::keyClick(wizard->PickList1, Qt::Key_Return);
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_TRUE(wizard->includeSelected);
}
