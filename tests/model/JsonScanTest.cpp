#include "model/JsonScan.h"

#include <QByteArrayList>
#include <gtest/gtest.h>

namespace {

QList<QByteArray> pieces(QByteArrayView bytes, const std::vector<JsonSpan> &spans)
{
    QList<QByteArray> out;
    for (const JsonSpan &span : spans)
        out << bytes.sliced(span.begin, span.end - span.begin).toByteArray();
    return out;
}

// Brackets and quotes inside texts, escaped quotes and white space do not mislead the scan; what is
// not one whole list or object, or a key that would not read as written, gives nothing.
TEST(JsonScan, FindsTheElementsAndMembersOrNothing)
{
    const struct
    {
        QByteArray list;
        std::optional<QList<QByteArray>> elements;
    } lists[] = {
        {R"( [ "a]\"[" , {"b":[1,2]}, 3 ,true] )",
         QList<QByteArray>{R"("a]\"[")", R"({"b":[1,2]})", "3", "true"}},
        {"[]", QList<QByteArray>{}},
        {"[1,]", std::nullopt},
        {"[1 2]", std::nullopt},
        {"[1],", std::nullopt},
        {R"(["a)", std::nullopt},
        {"{}", std::nullopt},
    };
    for (const auto &c : lists) {
        const auto elements = jsonElements(c.list);
        EXPECT_EQ(elements.has_value(), c.elements.has_value()) << c.list.toStdString();
        if (elements && c.elements) {
            EXPECT_EQ(pieces(c.list, *elements), *c.elements) << c.list.toStdString();
        }
    }

    const QByteArray object = R"({"x}":"{",  "rows" : [[1],[2]] })";
    const auto members = jsonMembers(object);
    ASSERT_TRUE(members);
    ASSERT_EQ(members->size(), 2u);
    EXPECT_EQ((*members)[0].key, "x}");
    EXPECT_EQ((*members)[1].key, "rows");
    EXPECT_EQ(pieces(object, {(*members)[1].value}), QList<QByteArray>{"[[1],[2]]"});
    for (const QByteArray bad : {R"({"r\u006fws":[]})", R"({"a" 1})", R"({"a":1} x)", "[]"})
        EXPECT_FALSE(jsonMembers(bad)) << bad.toStdString();
}

} // namespace
