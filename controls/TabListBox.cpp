#include "controls/TabListBox.h"

TTabListBox::TTabListBox(QWidget *parent) : TCustomListBox(parent) {}
