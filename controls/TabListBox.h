#pragma once

#include <QListWidget>

// A plain list box whose entries show their tab-separated parts in columns, one stop every eight
// average character widths of the list's font. The picked entries carry the usual highlight.
class TTabListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit TTabListBox(QWidget *parent = nullptr);

    // Height of every entry in pixels (16 unless set).
    int ItemHeight() const { return itemHeight; }
    void setItemHeight(int value);
    // The column width in pixels: eight average character widths.
    int tabInterval() const;

    QStringList Items() const;
    bool Selected(int index) const;
    int SelCount() const;

private:
    int itemHeight = 16;
};
