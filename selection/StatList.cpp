#include "selection/StatList.h"

#include "controls/DialogLook.h"
#include "controls/MessageBoxes.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "selection/ExtensionLists.h"
#include "selection/SelectExtension.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

QPushButton *sideButton(const QString &text, const QString &hint, int top, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setGeometry(264, top, 96, 27);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmStatList::TfrmStatList(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("File types"));
    setDialogFrame(*this, QSize(367, 348));
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));

    Label1 = makeTitleLabel(QStringLiteral("File Types"), QRect(8, 5, 160, 27), this);
    lblCount = makeTitleLabel(QStringLiteral("25 available"), QRect(16, 5, 233, 27), this);
    lblCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    PickList1 = new TPickList(this);
    PickList1->setGeometry(8, 37, 241, 304);
    PickList1->setSelectedStyle(psStandard);
    PickList1->setMultiSelect(true);
    PickList1->setExtendedSelect(true);
    PickList1->setSorted(true);
    PickList1->setItemHeight(13);
    PickList1->setTabStops(QStringLiteral("16"));
    PickList1->setColor(buttonFace());
    PickList1->setToolTip(QStringLiteral("List of temporary file extensions and types"));

    btAdd = sideButton(QStringLiteral("&Add"), QStringLiteral("Add a file extension to this list"),
                       41, this);
    btDelete =
        sideButton(QStringLiteral("&Delete"), QStringLiteral("Delete a file extension"), 75, this);
    btClear =
        sideButton(QStringLiteral("&Clear all"), QStringLiteral("Clear all extensions"), 109, this);
    btClose = sideButton(QStringLiteral("Close"), QStringLiteral("Close window"), 144, this);
    btClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    Label2 = wrappedLabel(
        QStringLiteral("Hint: Drag mouse or use ctrl-click to select multiple file types."),
        QRect(264, 248, 97, 81), this);

    connect(btAdd, &QPushButton::clicked, this, &TfrmStatList::btAddClick);
    connect(btDelete, &QPushButton::clicked, this, &TfrmStatList::btDeleteClick);
    connect(btClear, &QPushButton::clicked, this, &TfrmStatList::btClearClick);
    connect(btClose, &QPushButton::clicked, this, &TfrmStatList::btCloseClick);
}

// Only when the editor opens: a window restored from the task bar keeps the edits made so far.
void TfrmStatList::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TfrmStatList::FormShow()
{
    QStringList entries;
    ReadStatFilesFromDisk(entries, ListSection);
    PickList1->setItems(entries);
    showCount();
}

void TfrmStatList::showCount()
{
    lblCount->setText(QString::number(PickList1->count()) + QStringLiteral(" available"));
}

bool TfrmStatList::addUnique(const QString &entry)
{
    for (const QString &held : PickList1->Items())
        if (held.compare(entry, Qt::CaseInsensitive) == 0)
            return false;
    PickList1->addEntry(entry);
    return true;
}

void TfrmStatList::btAddClick()
{
    TfrmSelectExtension picker(this);
    if (picker.exec() != QDialog::Accepted)
        return;
    if (!picker.severalPicked) {
        if (!picker.chosenPattern.isEmpty() && picker.chosenPattern != u"*.*")
            addUnique(picker.chosenPattern + u'\t' + picker.chosenDescription);
    } else {
        for (const QString &entry : picker.pickedEntries())
            addUnique(entry);
    }
    showCount();
}

void TfrmStatList::btDeleteClick()
{
    const int picked = PickList1->SelCount();
    if (picked == 0)
        return;
    if (picked > 1 && !askYesNoCancel(QStringLiteral("Really delete %1 extensions?").arg(picked)))
        return;
    for (int i = PickList1->count() - 1; i >= 0; --i)
        if (PickList1->Selected(i))
            delete PickList1->takeItem(i);
    showCount();
}

void TfrmStatList::btClearClick()
{
    if (!askYesNoCancel(QStringLiteral("Really clear out all extensions?")))
        return;
    PickList1->clear();
    showCount();
}

// The only way the settings file changes. A refused write keeps the file as it was, says so,
// and ends like the close box.
void TfrmStatList::btCloseClick()
{
    try {
        WriteStatFilesToDisk(PickList1->Items(), ListSection);
    } catch (const SettingsWriteError &error) {
        errorBox(QString::fromStdString(error.what()));
        reject();
        return;
    }
    accept();
}

// Esc is the Close button here, not the close box. The editor has no default button: Enter
// presses the button that has the focus and does nothing in the list.
void TfrmStatList::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Escape) {
            btCloseClick();
            return;
        }
        auto *focused = qobject_cast<QPushButton *>(focusWidget());
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focused) {
            focused->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}
