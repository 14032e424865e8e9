#include "helpers/NameText.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

// Each name reads as it should, and reads back to its very bytes.
TEST(NameText, NamesReadVisiblyAndBackExactly)
{
    const struct
    {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"Music", "Music"},
        {"Fotos \xc3\xa4 \xf0\x9f\x93\xb7", QString::fromUtf8("Fotos \xc3\xa4 \xf0\x9f\x93\xb7")},
        {"a\xff"
         "b",
         "a\\xFFb"},                         // no part of any character
        {"\xc3", "\\xC3"},                   // cut short
        {"\xc0\xaf", "\\xC0\\xAF"},          // overlong "/"
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"}, // half of a character pair
        {"a\\xFFb", "a\\\\xFFb"},            // spelled like an escape: stays apart
        {"line\nbreak\ttab\r", "line\\nbreak\\ttab\\r"},
        {"\x01\x7f", "\\u0001\\u007F"},
        {"\xe2\x80\xae"
         "evil",
         "\\u202Eevil"}, // turns the text's direction
        {"zero\xe2\x80\x8bwidth", "zero\\u200Bwidth"},
        {"\xf3\xa0\x80\x81", "\\U000E0001"}, // an invisible tag past U+FFFF
    };
    for (const auto &c : cases) {
        EXPECT_EQ(escapedName(c.bytes), c.text) << c.bytes.toHex().toStdString();
        EXPECT_EQ(unescapedName(c.text), std::optional<QByteArray>(c.bytes))
            << c.text.toStdString();
    }
}

// Only the spelling escapedName gives is read: anything else could make two folders one.
TEST(NameText, OtherSpellingsAreRefused)
{
    const QString texts[] = {"trailing\\", "\\q",       "\\x4",    "\\xGG",
                             "\\xff",      "\\x41",     "\\u00e4", "\\u00E4",
                             "\\uD800",    "tab\there", "\u202E",  QString(QChar(0xD800)),
                             "\\U00110000"};
    for (const QString &text : texts)
        EXPECT_FALSE(unescapedName(text)) << text.toStdString();
}
