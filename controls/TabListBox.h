#pragma once

#include "controls/CustomListBox.h"

// A plain list box whose entries show their tab-separated parts in columns, one stop every eight
// average character widths of the list's font. The picked entries carry the usual highlight.
class TTabListBox : public TCustomListBox
{
    Q_OBJECT

public:
    explicit TTabListBox(QWidget *parent = nullptr);

protected:
    bool expandsTabs() const override { return true; }
};
