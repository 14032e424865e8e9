#pragma once

#include "controls/CustomListBox.h"
#include "controls/TabbedText.h"

#include <QColor>
#include <QStyle>
#include <functional>
#include <stdexcept>

// How a picked entry of a pick list is shown.
enum TSelectedStyle : unsigned char
{
    psStandard = 0, // the list's own highlight, tabs at the default stops
    psCheckbox = 1, // a check box in front of the entry, checked when picked
    psBoldText = 2, // picked entries in bold
    psOwnerDraw = 3 // OnDrawItem draws the entry
};

// A TabStops text with a piece that is not a whole number; what() is the piece followed by
// " is an invalid tab stop".
class TabStopError : public std::runtime_error
{
public:
    explicit TabStopError(const QString &piece);
};

// The list of every drive and file-type choice in the program. An entry is picked exactly when
// the list's own selection holds it; the control only changes how entries are drawn, measures
// tab stops in average character widths from the list's left edge, and tells its owner about
// user changes (OnClick) and moves of the focused entry (OnChange). Changing the picks from code
// tells nobody: callers recount themselves.
class TPickList : public TCustomListBox
{
    Q_OBJECT

public:
    explicit TPickList(QWidget *parent = nullptr);

    bool UseTabStops() const { return useTabStops; }
    void setUseTabStops(bool value);
    TSelectedStyle SelectedStyle() const { return selectedStyle; }
    void setSelectedStyle(TSelectedStyle value);
    // Stops as decimal numbers separated by ";", counted in average character widths.
    QString TabStops() const { return tabStopList.join(QLatin1Char(';')); }
    // Throws TabStopError at the first piece that is not a number; the pieces before it stay.
    void setTabStops(const QString &text);

    // MultiSelect off: one entry at most. On, without ExtendedSelect: each click or space toggles
    // the entry under the caret. On, with ExtendedSelect: click, ctrl-click, shift-click, drag.
    bool MultiSelect() const { return multiSelect; }
    void setMultiSelect(bool value);
    bool ExtendedSelect() const { return extendedSelect; }
    void setExtendedSelect(bool value);
    // Entries added with addEntry go in their place without regard to letter case.
    bool Sorted() const { return sorted; }
    void setSorted(bool value);

    void setItems(const QStringList &entries);
    // Adds an entry (in its sorted place when Sorted) and returns its index.
    int addEntry(const QString &text);

    void setSelected(int index, bool picked);
    void setAllSelected(bool picked);
    // The focused entry, -1 when there is none. Setting it changes no pick.
    int ItemIndex() const { return currentRow(); }
    void setItemIndex(int index);

    // Drawing of psOwnerDraw entries; without it they are drawn like a plain list box.
    using DrawItemHandler =
        std::function<void(QPainter &, int index, const QRect &rect, QStyle::State state)>;
    void setOnDrawItem(DrawItemHandler handler) { onDrawItem = std::move(handler); }

    // Tab positions in pixels for the list's font, from the TabStops entries.
    QList<int> tabPositions() const;
    // Draws one entry in the selected style.
    void DrawItem(QPainter &painter, int index, const QRect &rect,
                  QStyle::State state) const override;

signals:
    // The user changed the picks or moved the focused entry.
    void OnClick();
    // The focused entry differs from the one at the last OnChange.
    void OnChange(TPickList *sender);
    void OnDblClick();

protected:
    virtual void Change();
    void Click();

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    template <typename Handler> void asUser(Handler handler);
    void selectionTouched();
    void updateSelectionMode();
    void drawCheckbox(QPainter &painter, int index, const QRect &rect, QStyle::State state) const;
    static void drawCheckMark(QPainter &painter, const QRect &rect, const QColor &ink);
    void drawBold(QPainter &painter, int index, const QRect &rect, QStyle::State state) const;
    // The text of an entry from x on, in columns when the list uses its tab stops.
    void drawEntryText(QPainter &painter, int x, const QRect &rect, const QString &text) const;
    // Stops from the list's left edge, measured with the list's own (never bold) font.
    TabStopRule tabRule(const QRect &rect) const;

    bool useTabStops = true;
    TSelectedStyle selectedStyle = psCheckbox;
    int lastIndex = -1;
    QStringList tabStopList;
    bool multiSelect = false;
    bool extendedSelect = true;
    bool sorted = false;
    DrawItemHandler onDrawItem;
    bool inUserAction = false;
    bool touchedByUser = false;
};
