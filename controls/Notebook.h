#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

class QStackedWidget;

// A notebook of pages under one row of equal tabs. The tab in front shows its caption in red;
// a page can be disabled, which greys its tab and keeps it from being chosen.
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

signals:
    // The page in front changed to index (by a click on a tab or through setPageIndex).
    void OnPageChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
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
