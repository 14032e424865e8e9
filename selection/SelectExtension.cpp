#include "selection/SelectExtension.h"

#include "controls/DialogLook.h"
#include "controls/TabListBox.h"
#include "helpers/NameText.h"
#include "selection/ExtensionLists.h"
#include "selection/TypeNames.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TfrmSelectExtension::TfrmSelectExtension(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Select a file extension"));
    setDialogFrame(*this, QSize(324, 393));
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));

    Label1 = wrappedLabel(
        QStringLiteral("Type in a new file extension or select one or many from the list below:"),
        QRect(11, 8, 305, 41), this);
    Label1->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 13));

    cbWildCard = new QComboBox(this);
    cbWildCard->setGeometry(15, 72, 145, 21);
    cbWildCard->setToolTip(QStringLiteral("Wildcard pattern for matching file types"));
    cbWildCard->hide();

    lBox = new TTabListBox(this);
    lBox->setGeometry(15, 72, 297, 241);
    lBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lBox->setItemHeight(13);
    lBox->setColor(buttonFace());
    lBox->setToolTip(QStringLiteral("Double click to select, Ctrl-click to select more than one"));

    Label2 = wrappedLabel(
        QStringLiteral("Hint: Drag mouse or use ctrl-click to select multiple file extensions."),
        QRect(15, 320, 297, 30), this);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setGeometry(129, 362, 88, 25);
    BitBtn1->setDefault(true);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setGeometry(232, 362, 88, 25);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    // Created last of the controls that take the keyboard, the edit field still comes first.
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(159, 40, 121, 21);
    Edit1->setMaxLength(6);
    setTabOrder(Edit1, lBox);
    setTabOrder(lBox, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(lBox, &QListWidget::itemClicked, this, &TfrmSelectExtension::lBoxClick);
    connect(lBox, &QListWidget::itemDoubleClicked, this, &TfrmSelectExtension::lBoxDblClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmSelectExtension::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    FormShow();
    Edit1->setFocus();
}

void TfrmSelectExtension::FormShow()
{
    QStringList patterns;
    listRegisteredExtensions(patterns, false);
    cbWildCard->clear();
    lBox->clear();
    // The all-files pattern is no file type; leaving it out of both lists keeps them in step.
    for (const QString &pattern : patterns) {
        if (pattern == u"*.*")
            continue;
        cbWildCard->addItem(pattern);
        lBox->addItem(pattern + u'\t' + getTypeName(patternExtension(pattern)));
    }
    Edit1->setText(cbWildCard->count() > 0 ? cbWildCard->itemText(0) : QString());
}

QStringList TfrmSelectExtension::pickedEntries() const
{
    return lBox->pickedEntries();
}

QString TfrmSelectExtension::completePattern(const QString &typed)
{
    if (typed.startsWith(u"*."))
        return typed;
    if (!typed.contains(u'*') && !typed.contains(u'.'))
        return QStringLiteral("*.") + typed;
    if (!typed.contains(u'*'))
        return u'*' + typed;
    return typed;
}

void TfrmSelectExtension::lBoxClick()
{
    const int index = lBox->currentRow();
    if (index >= 0 && index < cbWildCard->count())
        Edit1->setText(cbWildCard->itemText(index));
}

bool TfrmSelectExtension::takeChoice()
{
    severalPicked = true;
    if (lBox->SelCount() > 1)
        return false;
    severalPicked = false;
    chosenPattern.clear();
    chosenDescription.clear();
    const QString typed = Edit1->text();
    if (typed == u"*.*" || typed == u".*" || typed == u"*")
        return false;
    // Kept as the rows show names: a control or direction character typed or pasted in reads as
    // its escape, and an escape typed in (".\xFF") stands for its byte.
    chosenPattern = escapedName(nameBytes(completePattern(typed)));
    chosenDescription = getTypeName(patternExtension(chosenPattern));
    return true;
}

// A double click ends the dialog only with one pattern chosen; with several entries picked, or
// "all files" typed, it leaves the dialog open.
void TfrmSelectExtension::lBoxDblClick()
{
    if (takeChoice())
        accept();
}

void TfrmSelectExtension::BitBtn1Click()
{
    takeChoice();
    accept();
}
