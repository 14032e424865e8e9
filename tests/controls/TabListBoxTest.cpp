#include "controls/TabListBox.h"

#include "InkColumns.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(TabListBox, DescriptionStartsAtTheNextDefaultStopAfterThePattern)
{
    TTabListBox list;
    QPalette colours = list.palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    list.setPalette(colours);
    list.setItemHeight(13);
    list.resize(300, 100);
    // A pattern shorter than one column and one longer than one column.
    list.addItems({"*.doc\tWord", "*.abcdefghijklmnop\tLong"});
    list.doItemsLayout();
    const QImage image = list.viewport()->grab().toImage();
    const int interval = list.tabInterval();
    const int textStart = 2;

    const QRect first = list.visualItemRect(list.item(0));
    EXPECT_EQ(first.height(), 13);
    const int docEnd = textStart + list.fontMetrics().horizontalAdvance("*.doc");
    ASSERT_LT(docEnd, textStart + interval);
    const int word = firstInkColumn(image, first, docEnd + 1);
    EXPECT_GE(word, textStart + interval);
    EXPECT_LE(word, textStart + interval + 2);

    const QRect second = list.visualItemRect(list.item(1));
    const int patternEnd = textStart + list.fontMetrics().horizontalAdvance("*.abcdefghijklmnop");
    ASSERT_GT(patternEnd, textStart + interval);
    const int nextStop = textStart + (patternEnd - textStart) / interval * interval + interval;
    const int longText = firstInkColumn(image, second, patternEnd + 1);
    EXPECT_GE(longText, nextStop);
    EXPECT_LE(longText, nextStop + 2);
}
