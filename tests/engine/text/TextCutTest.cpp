#include <gtest/gtest.h>

#include "engine/text/TextCut.h"

TEST(TextCut, MissingMarkersTurnIntoWholeOrEmptyTexts) {
    const QString text = QStringLiteral("abc:def");
    EXPECT_EQ(cut::find(text, u":"), 3);
    EXPECT_EQ(cut::find(text, u";"), -1);
    EXPECT_EQ(cut::find(text, u"ABC"), -1);  // case-sensitive
    EXPECT_EQ(cut::from(text, -1), text);
    EXPECT_EQ(cut::from(text, 4), u"def");
    EXPECT_EQ(cut::from(text, 7), u"");
    EXPECT_EQ(cut::from(text, 70), u"");
    EXPECT_EQ(cut::first(text, -1), u"");
    EXPECT_EQ(cut::first(text, 3), u"abc");
    EXPECT_EQ(cut::first(text, 70), text);
}

TEST(TextCut, LeadingIntReadsLikeTheCLibrary) {
    const struct {
        const char16_t* text;
        int value;
    } cases[] = {
        {u"3", 3},
        {u" 42x", 42},
        {u"\t-7", -7},
        {u"+5", 5},
        {u"", 0},
        {u"x1", 0},
        {u"-", 0},
        {u"99999999999", 2147483647},
        {u"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cut::leadingInt(c.text), c.value) << QString::fromUtf16(c.text).toStdString();
}
