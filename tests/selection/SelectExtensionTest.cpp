#include "selection/SelectExtension.h"

#include "SelectionFixture.h"
#include "controls/TabListBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct PickerTest : SelectionFixture
{
    std::unique_ptr<TfrmSelectExtension> picker;

    void SetUp() override
    {
        SelectionFixture::SetUp();
        picker = std::make_unique<TfrmSelectExtension>();
        picker->open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(picker.get()));
    }

    void typeAndConfirm(const QString &text)
    {
        picker->open();
        picker->lBox->clearSelection();
        picker->Edit1->setText(text);
        QTest::mouseClick(picker->BitBtn1, Qt::LeftButton);
    }
};

} // namespace

TEST_F(PickerTest, ListsRegisteredExtensionsWithTheirNamesAndProposesTheFirst)
{
    // Sorted without regard to case; ".tar.gz" is longer than four characters and left out.
    const QStringList expected = {
        "*.doc\tWord document", "*.exe\tProgram",    "*.html\tWeb page",  "*.jpeg\tJPEG image",
        "*.pdf\tPDF document",  "*.txt\tPlain text", "*.zip\tZip archive"};
    EXPECT_EQ(picker->lBox->Items(), expected);
    ASSERT_EQ(picker->cbWildCard->count(), expected.size());
    EXPECT_EQ(picker->cbWildCard->itemText(3), "*.jpeg");
    EXPECT_EQ(picker->Edit1->text(), "*.doc");
    EXPECT_EQ(picker->Edit1->maxLength(), 6);
    EXPECT_EQ(picker->focusWidget(), picker->Edit1);

    clickEntry(picker->lBox, 4);
    EXPECT_EQ(picker->Edit1->text(), "*.pdf");
}

TEST_F(PickerTest, TypedExtensionIsCompletedInEveryCommonSpelling)
{
    for (const char *typed : {"doc", ".doc", "*.doc"}) {
        SCOPED_TRACE(typed);
        typeAndConfirm(typed);
        EXPECT_EQ(picker->result(), QDialog::Accepted);
        EXPECT_FALSE(picker->severalPicked);
        EXPECT_EQ(picker->chosenPattern, "*.doc");
        EXPECT_EQ(picker->chosenDescription, "Word document");
    }
    // Anything with a wildcard of its own is taken as typed.
    typeAndConfirm("d*c");
    EXPECT_EQ(picker->chosenPattern, "d*c");
}

TEST_F(PickerTest, AllFilesChoosesNothingOkClosesButDoubleClickStays)
{
    for (const char *typed : {"*.*", ".*", "*"}) {
        SCOPED_TRACE(typed);
        typeAndConfirm(typed);
        EXPECT_EQ(picker->result(), QDialog::Accepted);
        EXPECT_TRUE(picker->chosenPattern.isEmpty());
        EXPECT_FALSE(picker->isVisible());
    }

    picker->open();
    picker->Edit1->setText("*");
    picker->lBoxDblClick();
    EXPECT_TRUE(picker->isVisible());
}

TEST_F(PickerTest, EnterInTheEditFieldIsOkAndEscIsCancel)
{
    picker->Edit1->setText("pdf");
    QTest::keyClick(picker->Edit1, Qt::Key_Return);
    EXPECT_EQ(picker->result(), QDialog::Accepted);
    EXPECT_EQ(picker->chosenPattern, "*.pdf");

    picker->open();
    QTest::keyClick(picker->Edit1, Qt::Key_Escape);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(picker->result(), QDialog::Rejected);
}

TEST_F(PickerTest, SeveralPickedEntriesAreHandedBackWhole)
{
    clickEntry(picker->lBox, 1);
    clickEntry(picker->lBox, 5, Qt::ControlModifier);
    QTest::mouseClick(picker->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(picker->result(), QDialog::Accepted);
    EXPECT_TRUE(picker->severalPicked);
    EXPECT_EQ(picker->pickedEntries(), QStringList({"*.exe\tProgram", "*.txt\tPlain text"}));

    // A double click with several entries picked leaves the dialog open.
    picker->open();
    picker->lBoxDblClick();
    EXPECT_TRUE(picker->isVisible());
    EXPECT_TRUE(picker->severalPicked);
}

TEST_F(PickerTest, DoubleClickOnOneEntryChoosesIt)
{
    doubleClickEntry(picker->lBox, 6);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(picker->result(), QDialog::Accepted);
    EXPECT_FALSE(picker->severalPicked);
    EXPECT_EQ(picker->chosenPattern, "*.zip");
    EXPECT_EQ(picker->chosenDescription, "Zip archive");
}
