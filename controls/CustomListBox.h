#pragma once

#include <QListWidget>
#include <QStringList>

// What the program's list boxes share: entries of one line each at a fixed height, and the
// picked state of an entry being the list's own selection.
class TCustomListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit TCustomListBox(QWidget *parent = nullptr);

    // Height of every entry in pixels (16 unless set).
    int ItemHeight() const { return itemHeight; }
    void setItemHeight(int value);

    QStringList Items() const;
    // The text of an entry; empty for an index outside the list.
    QString itemText(int index) const;

    bool Selected(int index) const;
    int SelCount() const;
    // The picked entries, in list order.
    QStringList pickedEntries() const;

private:
    int itemHeight = 16;
};
