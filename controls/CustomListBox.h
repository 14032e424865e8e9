#pragma once

#include <QListWidget>
#include <QStringList>
#include <QStyle>

// What the program's list boxes share: entries of one line each at a fixed height, the picked
// state of an entry being the list's own selection, and the plain look of an entry.
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

    // Background of the entries and of the empty part of the list.
    QColor Color() const;
    void setColor(const QColor &value);

    // The distance between the default tab stops: eight average character widths.
    int tabInterval() const;

    // Draws one entry; the item delegate calls it for every visible entry. The plain look: the
    // highlight on a picked entry, the text at two pixels from the left, a dotted frame around
    // the focused entry.
    virtual void DrawItem(QPainter &painter, int index, const QRect &rect,
                          QStyle::State state) const;

protected:
    // The plain look without the focus frame; with tabbed, tabs fall on the default stops
    // counted from where the text starts, else a tab is a blank.
    void drawStandardItem(QPainter &painter, int index, const QRect &rect, QStyle::State state,
                          bool tabbed) const;
    // A dotted frame on every other pixel, around the whole entry.
    void drawFocusRect(QPainter &painter, const QRect &rect) const;
    // Whether the plain look shows tab-separated parts in columns.
    virtual bool expandsTabs() const { return false; }
    // Shift+F10 opens the list's menu as the Menu key does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // A screen reader reads an entry's columns with a blank between them, not its tab.
    void nameEntries(int first, int last);

    int itemHeight = 16;
};
