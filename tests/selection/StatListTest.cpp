#include "selection/StatList.h"

#include "SelectionFixture.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "controls/TabListBox.h"
#include "selection/SelectExtension.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const QStringList defaults = {"*.dll\tDLL File", "*.doc\tWord document", "*.exe\tProgram"};

struct EditorTest : SelectionFixture
{
    std::unique_ptr<TfrmStatList> editor;

    void SetUp() override
    {
        SelectionFixture::SetUp();
        editor = std::make_unique<TfrmStatList>();
        editor->ListSection = "Include";
        editor->open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }

    // Adds through the picker as a user would: typing an extension, or picking entries.
    void addTyped(const QString &typed)
    {
        whenShown<TfrmSelectExtension>([typed](TfrmSelectExtension &picker) {
            picker.Edit1->setText(typed);
            QTest::mouseClick(picker.BitBtn1, Qt::LeftButton);
        });
        QTest::mouseClick(editor->btAdd, Qt::LeftButton);
    }

    void addPicked(QList<int> rows)
    {
        whenShown<TfrmSelectExtension>([rows](TfrmSelectExtension &picker) {
            for (int row : rows)
                clickEntry(picker.lBox, row, Qt::ControlModifier);
            QTest::mouseClick(picker.BitBtn1, Qt::LeftButton);
        });
        QTest::mouseClick(editor->btAdd, Qt::LeftButton);
    }

    QStringList readBack(const QString &section)
    {
        QStringList entries;
        ReadStatFilesFromDisk(entries, section);
        return entries;
    }
};

} // namespace

TEST_F(EditorTest, NeverSavedListShowsTheDefaultsSorted)
{
    EXPECT_EQ(editor->PickList1->Items(), defaults);
    EXPECT_EQ(editor->lblCount->text(), "3 available");
    EXPECT_FALSE(QFile::exists(home.filePath("korvel98.ini")));
}

TEST_F(EditorTest, AddingKeepsTheListSortedAndWithoutDuplicatesInAnyCase)
{
    addTyped("DOC");
    addTyped("*.Exe");
    EXPECT_EQ(editor->PickList1->Items(), defaults);

    addTyped("txt");
    EXPECT_EQ(editor->PickList1->itemText(3), "*.txt\tPlain text");
    EXPECT_EQ(editor->lblCount->text(), "4 available");

    addTyped("*.*");
    EXPECT_EQ(editor->PickList1->count(), 4);

    // Picked entries: *.doc is there already, *.pdf is new.
    addPicked({0, 4});
    EXPECT_EQ(editor->PickList1->Items(),
              QStringList({"*.dll\tDLL File", "*.doc\tWord document", "*.exe\tProgram",
                           "*.pdf\tPDF document", "*.txt\tPlain text"}));
    EXPECT_EQ(editor->lblCount->text(), "5 available");
}

TEST_F(EditorTest, DeletingOneAsksNothingDeletingTwoAsksWithTheNumber)
{
    clickEntry(editor->PickList1, 1);
    QTest::mouseClick(editor->btDelete, Qt::LeftButton);
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(editor->PickList1->Items(), QStringList({defaults[0], defaults[2]}));

    clickEntry(editor->PickList1, 0);
    clickEntry(editor->PickList1, 1, Qt::ControlModifier);
    answerYes = false;
    QTest::mouseClick(editor->btDelete, Qt::LeftButton);
    EXPECT_EQ(questions, QStringList{"Really delete 2 extensions?"});
    EXPECT_EQ(editor->PickList1->count(), 2);

    answerYes = true;
    QTest::mouseClick(editor->btDelete, Qt::LeftButton);
    EXPECT_EQ(editor->PickList1->count(), 0);
    EXPECT_EQ(editor->lblCount->text(), "0 available");

    // Nothing picked: nothing happens.
    QTest::mouseClick(editor->btDelete, Qt::LeftButton);
    EXPECT_EQ(questions.size(), 2);
}

TEST_F(EditorTest, ClearAllThenCloseSavesAnEmptyListNotTheDefaults)
{
    answerYes = false;
    QTest::mouseClick(editor->btClear, Qt::LeftButton);
    EXPECT_EQ(questions, QStringList{"Really clear out all extensions?"});
    EXPECT_EQ(editor->PickList1->count(), 3);

    answerYes = true;
    QTest::mouseClick(editor->btClear, Qt::LeftButton);
    EXPECT_EQ(editor->lblCount->text(), "0 available");
    QTest::mouseClick(editor->btClose, Qt::LeftButton);
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_TRUE(readBack("Include").isEmpty());
    EXPECT_EQ(readBack("Exclude"),
              QStringList({"*.doc\tWord document", "*.exe\tProgram", "*.dll\tDLL File"}));
}

TEST_F(EditorTest, CloseAndEscSaveTheSectionTheCloseBoxDoesNot)
{
    addTyped("pdf");
    editor->close();
    EXPECT_EQ(editor->result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(home.filePath("korvel98.ini")));

    editor->ListSection = "Exclude";
    editor->open();
    addTyped("zip");
    QTest::keyClick(editor.get(), Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(readBack("Exclude"), QStringList({"*.dll\tDLL File", "*.doc\tWord document",
                                                "*.exe\tProgram", "*.zip\tZip archive"}));
    EXPECT_FALSE(settingsText().contains("pdf"));
    EXPECT_FALSE(settingsText().contains("[Include]", Qt::CaseInsensitive));

    // Enter presses the focused button only: in the list it closes nothing.
    editor->open();
    editor->PickList1->setFocus();
    QTest::keyClick(editor->PickList1, Qt::Key_Return);
    EXPECT_TRUE(editor->isVisible());
    editor->btClose->setFocus();
    QTest::keyClick(editor->btClose, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Accepted);
}

TEST_F(EditorTest, RefusedWriteIsReportedAndEndsAsCancel)
{
    // A settings folder that is a plain file cannot take the settings file.
    QFile blocker(home.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    setSettingsFilePath(home.filePath("blocked/korvel98.ini"));

    QTest::mouseClick(editor->btClose, Qt::LeftButton);
    EXPECT_EQ(errors, QStringList{"Unable to write to korvel98.ini"});
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Rejected);
}
