#include "selection/WhichDrive.h"

#include "controls/DialogLook.h"
#include "controls/KeyboardReach.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "drives/Drives.h"
#include "platform/DriveSource.h"
#include "selection/ExtensionLists.h"
#include "selection/StatList.h"

#include <QComboBox>
#include <QFrame>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int pageWidth = 281;
constexpr int pageHeight = 313;

QFrame *makePage(QWidget *parent)
{
    auto *page = new QFrame(parent);
    page->setFrameStyle(QFrame::Panel | QFrame::Raised);
    page->setGeometry(0, 0, pageWidth, pageHeight);
    return page;
}

QPushButton *pageButton(const QString &text, const QRect &place, QWidget *page)
{
    auto *button = new QPushButton(text, page);
    button->setGeometry(place);
    return button;
}

// Both lists of the wizard: check boxes, each click toggles one entry, a column for the
// description, and a context menu to pick or unpick everything.
TPickList *makeChoiceList(const QRect &place, QWidget *page)
{
    auto *list = new TPickList(page);
    list->setGeometry(place);
    list->setSelectedStyle(psCheckbox);
    list->setTabStops(QStringLiteral("12"));
    list->setItemHeight(16);
    list->setMultiSelect(true);
    list->setExtendedSelect(false);
    list->setColor(buttonFace());
    list->setToolTip(QStringLiteral("Right click to select/deselect all"));
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    return list;
}

// The context menu of a list; its two items are "Select All" and "Deselect All".
QMenu *makeAllOrNoneMenu(TPickList *list)
{
    auto *menu = new QMenu(list);
    useWindowFont(*menu);
    menu->addAction(QStringLiteral("Select All"));
    menu->addAction(QStringLiteral("Deselect All"));
    QObject::connect(list, &QWidget::customContextMenuRequested, menu,
                     [list, menu](const QPoint &at) { menu->popup(list->mapToGlobal(at)); });
    return menu;
}

// A drive box entry (not empty) as the wizard lists it; empty for a drive the wizard leaves out.
// The letter and a remote drive's network name are shown in lower case; a drive without a volume
// label (or a network drive whose name cannot be read) is named by its type instead of an empty
// "[]".
QString wizardEntry(const QString &entry, int type)
{
    const QChar letter = entry[0].toLower();
    if (letter == u'a' || letter == u'b')
        return QString();
    const QString head = QString(letter) + u':';
    const QString rest = entry.mid(2).trimmed();
    switch (type) {
    case platform::DriveRemovable:
        return head;
    case platform::DriveRemote:
        if (!rest.isEmpty() && rest != u"[]")
            return head + u' ' + rest.toLower();
        break;
    case platform::DriveFixed:
    case platform::DriveCdRom:
    case platform::DriveRamDisk:
        if (rest != u"[]")
            return head + u' ' + rest;
        break;
    default:
        return QString();
    }
    return head + u' ' + driveTypeText(type);
}

} // namespace

TfrmWhichDrive::TfrmWhichDrive(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Which drives and file types?"));
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    buildPage1();
    buildPage2();
    buildPage3();
    setDialogFrame(*this, QSize(pageWidth + 2, pageHeight + 2));

    cbDrive = new QComboBox(this);
    cbDrive->setToolTip(QStringLiteral("The drive selected for statistics"));
    cbDrive->hide();
    FormShow();
}

void TfrmWhichDrive::buildPage1()
{
    Panel1 = makePage(this);
    lblDrives = makeTitleLabel(QStringLiteral("Which drives?"), QRect(8, 5, 259, 27), Panel1);
    pckDrive = makeChoiceList(QRect(8, 32, 265, 243), Panel1);
    btCancel1 = pageButton(QStringLiteral("Cancel"), QRect(115, 280, 75, 25), Panel1);
    btNext1 = pageButton(QStringLiteral("&Next >>"), QRect(198, 280, 75, 25), Panel1);
    PopupMenu1 = makeAllOrNoneMenu(pckDrive);
    SelectAll1 = PopupMenu1->actions().at(0);
    Deselectall1 = PopupMenu1->actions().at(1);

    connect(pckDrive, &TPickList::OnClick, this, &TfrmWhichDrive::pckDriveClick);
    connect(SelectAll1, &QAction::triggered, this, &TfrmWhichDrive::SelectAll1Click);
    connect(Deselectall1, &QAction::triggered, this, &TfrmWhichDrive::Deselectall1Click);
    connect(btCancel1, &QPushButton::clicked, this, &QDialog::reject);
    connect(btNext1, &QPushButton::clicked, this, &TfrmWhichDrive::btNext1Click);
}

void TfrmWhichDrive::buildPage2()
{
    Panel2 = makePage(this);
    lblTypes = makeTitleLabel(QStringLiteral("Which file types?"), QRect(8, 5, 259, 27), Panel2);
    const QFont radioFont = pixelFont(QStringLiteral("MS Sans Serif"), 13);
    auto radio = [&](const QString &text, int top) {
        auto *button = new QRadioButton(text, Panel2);
        button->setGeometry(24, top, 225, 17);
        button->setFont(radioFont);
        return button;
    };
    rbAll = radio(QStringLiteral("&All files"), 80);
    rbInclude = radio(QStringLiteral("&Selected file types only"), 112);
    rbExclude = radio(QStringLiteral("All files &except selected file types"), 144);
    rbAll->setChecked(true);
    makeOneTabStop({rbAll, rbInclude, rbExclude});
    btPrior2 = pageButton(QStringLiteral("<< &Previous"), QRect(115, 280, 75, 25), Panel2);
    btNext2 = pageButton(QStringLiteral("&Next >>"), QRect(198, 280, 75, 25), Panel2);

    connect(btPrior2, &QPushButton::clicked, this, &TfrmWhichDrive::btPrior2Click);
    connect(btNext2, &QPushButton::clicked, this, &TfrmWhichDrive::btNext2Click);
}

void TfrmWhichDrive::buildPage3()
{
    Panel3 = makePage(this);
    lblSelect = makeTitleLabel(QStringLiteral("Selected files only"), QRect(8, 5, 259, 27), Panel3);
    lblOf = makeTitleLabel(QStringLiteral("99/999"), QRect(200, 5, 75, 27), Panel3);
    lblOf->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PickList1 = makeChoiceList(QRect(8, 32, 265, 243), Panel3);
    btEdit = pageButton(QStringLiteral("&Add/Delete"), QRect(8, 281, 89, 25), Panel3);
    btEdit->setToolTip(QStringLiteral("Add, delete file types"));
    btPrior3 = pageButton(QStringLiteral("<< &Previous"), QRect(115, 281, 75, 25), Panel3);
    btOK = pageButton(QStringLiteral("OK"), QRect(198, 281, 75, 25), Panel3);
    btOK->setEnabled(false);
    PopupMenu2 = makeAllOrNoneMenu(PickList1);
    SelectAll2 = PopupMenu2->actions().at(0);
    DeselectAll2 = PopupMenu2->actions().at(1);

    connect(PickList1, &TPickList::OnClick, this, &TfrmWhichDrive::PickList1Click);
    connect(SelectAll2, &QAction::triggered, this, &TfrmWhichDrive::SelectAll2Click);
    connect(DeselectAll2, &QAction::triggered, this, &TfrmWhichDrive::DeselectAll2Click);
    connect(btEdit, &QPushButton::clicked, this, &TfrmWhichDrive::btEditClick);
    connect(btPrior3, &QPushButton::clicked, this, &TfrmWhichDrive::btPrior3Click);
    connect(btOK, &QPushButton::clicked, this, &TfrmWhichDrive::btOKClick);
}

// The drive box holds the platform's entries as they are; the wizard's own list is made from them.
void TfrmWhichDrive::fillDriveBox()
{
    const platform::DriveSource &source = platform::driveSource();
    cbDrive->clear();
    for (const platform::Drive &drive : source.drives())
        cbDrive->addItem(drive.entry);
    cbDrive->setCurrentIndex(cbDrive->findText(source.currentEntry(), Qt::MatchFixedString));
}

void TfrmWhichDrive::FormShow()
{
    fillDriveBox();
    const platform::DriveSource &source = platform::driveSource();
    QStringList drives;
    for (int i = 0; i < cbDrive->count(); ++i) {
        const QString entry = cbDrive->itemText(i);
        if (entry.isEmpty())
            continue;
        const QString shown = wizardEntry(entry, source.driveType(entry[0]));
        if (!shown.isEmpty())
            drives.append(shown);
    }
    pckDrive->setItems(drives);
    // The current drive starts picked. When no entry is the current drive's (its entry was
    // rewritten, or there is none) every drive starts picked, so the user can go on at once.
    // Without regard to case, since a network name is listed in lower case.
    const QString currentEntry = cbDrive->currentText();
    int current = -1;
    for (int i = 0; i < pckDrive->count() && current < 0; ++i)
        if (pckDrive->itemText(i).compare(currentEntry, Qt::CaseInsensitive) == 0)
            current = i;
    if (current >= 0) {
        pckDrive->setSelected(current, true);
        pckDrive->setItemIndex(current);
    } else {
        pckDrive->setAllSelected(true);
    }
    showPage(Panel1, btNext1);
    allTypes = true;
    loadTypes(currentSection());
}

void TfrmWhichDrive::showPage(QFrame *page, QPushButton *defaultButton)
{
    for (QFrame *each : {Panel1, Panel2, Panel3})
        each->setVisible(each == page);
    defaultButton->setDefault(true);
    QWidget *first = pckDrive;
    if (page == Panel2)
        first = rbInclude->isChecked() ? rbInclude : rbExclude->isChecked() ? rbExclude : rbAll;
    else if (page == Panel3)
        first = PickList1;
    first->setFocus();
}

QString TfrmWhichDrive::currentSection() const
{
    return rbInclude->isChecked() ? QStringLiteral("Include") : QStringLiteral("Exclude");
}

// Reloading drops every pick, so OK waits for a new one.
void TfrmWhichDrive::loadTypes(const QString &section)
{
    QStringList entries;
    ReadStatFilesFromDisk(entries, section);
    PickList1->setItems(entries);
    btOK->setEnabled(false);
    showTypeCount();
}

void TfrmWhichDrive::showTypeCount()
{
    lblOf->setText(QString::number(PickList1->SelCount()) + u'/' +
                   QString::number(PickList1->count()));
}

QStringList TfrmWhichDrive::pickedDrives() const
{
    return pckDrive->pickedEntries();
}

QStringList TfrmWhichDrive::pickedTypes() const
{
    return PickList1->pickedEntries();
}

void TfrmWhichDrive::pckDriveClick()
{
    btNext1->setEnabled(pckDrive->SelCount() > 0);
}

void TfrmWhichDrive::SelectAll1Click()
{
    pckDrive->setAllSelected(true);
    pckDriveClick();
}

void TfrmWhichDrive::Deselectall1Click()
{
    pckDrive->setAllSelected(false);
    pckDriveClick();
}

void TfrmWhichDrive::btNext1Click()
{
    showPage(Panel2, btNext2);
}

void TfrmWhichDrive::btPrior2Click()
{
    showPage(Panel1, btNext1);
}

void TfrmWhichDrive::btNext2Click()
{
    if (rbAll->isChecked()) {
        allTypes = true;
        accept();
        return;
    }
    lblSelect->setText(rbInclude->isChecked() ? QStringLiteral("Selected file types only")
                                              : QStringLiteral("All file types except ..."));
    loadTypes(currentSection());
    showPage(Panel3, btOK);
}

void TfrmWhichDrive::PickList1Click()
{
    btOK->setEnabled(pckDrive->SelCount() > 0 && PickList1->SelCount() > 0);
    showTypeCount();
}

void TfrmWhichDrive::SelectAll2Click()
{
    PickList1->setAllSelected(true);
    PickList1Click();
}

void TfrmWhichDrive::DeselectAll2Click()
{
    PickList1->setAllSelected(false);
    PickList1Click();
}

void TfrmWhichDrive::btPrior3Click()
{
    showPage(Panel2, btNext2);
}

void TfrmWhichDrive::btEditClick()
{
    const QString section = currentSection();
    {
        TfrmStatList editor(this);
        editor.ListSection = section;
        editor.exec();
    }
    loadTypes(section);
}

void TfrmWhichDrive::btOKClick()
{
    allTypes = rbAll->isChecked();
    includeSelected = rbInclude->isChecked();
    excludeSelected = rbExclude->isChecked();
    accept();
}
