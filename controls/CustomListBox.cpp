#include "controls/CustomListBox.h"

TCustomListBox::TCustomListBox(QWidget *parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
}

void TCustomListBox::setItemHeight(int value)
{
    if (value <= 0 || value == itemHeight)
        return;
    itemHeight = value;
    doItemsLayout();
    viewport()->update();
}

QStringList TCustomListBox::Items() const
{
    QStringList entries;
    entries.reserve(count());
    for (int i = 0; i < count(); ++i)
        entries.append(item(i)->text());
    return entries;
}

QString TCustomListBox::itemText(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry ? entry->text() : QString();
}

bool TCustomListBox::Selected(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry && entry->isSelected();
}

int TCustomListBox::SelCount() const
{
    return int(selectionModel()->selectedRows().size());
}

QStringList TCustomListBox::pickedEntries() const
{
    QStringList entries;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected())
            entries.append(item(i)->text());
    return entries;
}
