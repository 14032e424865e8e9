#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

class QStackedWidget;

// A notebook of pages under one row of equal tabs. The tab in front shows its caption in red;
// a page can be disabled, which greys its tab and keeps it from being chosen.
//
// By keyboard: the row of tabs takes focus (Tab, or a click) and shows a dotted frame on the tab
// in front; Left, Right, Home and End then choose the page. Ctrl+Tab and Ctrl+PageDown bring the
// next enabled page, Ctrl+Shift+Tab and Ctrl+PageUp the one before, from anywhere in the
// notebook's window, wrapping around at the ends. Every way of choosing a page reports the
// change as a click on its tab does.
class TOvcNotebook : public QWidget
{
    Q_OBJECT

public:
    explicit TOvcNotebook(QWidget *parent = nullptr);

    // Every tab has this size; the pages start one pixel below the row.
    void setTabSize(const QSize &size);

    // Adds a page with its tab caption; the notebook takes the page as its child.
    int addPage(const QString &caption, QWidget *page);
    int pageCount() const { return captions.size(); }
    QWidget *page(int index) const;
    QString pageCaption(int index) const { return captions.value(index); }

    int PageIndex() const { return current; }
    // Brings a page to the front; a disabled page or an index out of range is refused.
    void setPageIndex(int index);

    bool isPageEnabled(int index) const { return enabledPages.value(index, false); }
    // Disabling the page in view brings the next enabled page to the front (the one before it
    // when none follows), which reports the change like a click on its tab.
    void setPageEnabled(int index, bool enabled);

    // The colour behind the tabs and the pages.
    QColor Color() const { return background; }
    void setColor(const QColor &colour);

    QRect tabRect(int index) const;

    // The enabled page step pages after the one in front (before it for a negative step),
    // wrapping around at the ends when wrap is set and stopping at the last enabled one
    // otherwise; the page in front when no other can be chosen.
    int enabledPageFrom(int step, bool wrap) const;
    // Brings a page to the front as a click on its tab does.
    void choosePage(int index);

signals:
    // The page in front changed to index (by a click on a tab or through setPageIndex).
    void OnPageChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void addPageShortcuts();
    // Ctrl+Tab and its kin: a focus inside the page that goes out of view moves to the tabs.
    void turnPage(int step);
    void announceCurrentTab();
    QRect pageArea() const;
    void paintTab(QPainter &painter, int index) const;
    int nearestEnabledPage(int index) const;

    QStackedWidget *stack;
    QStringList captions;
    QList<bool> enabledPages;
    QSize tab{63, 18};
    int current = -1;
    QColor background;
};
