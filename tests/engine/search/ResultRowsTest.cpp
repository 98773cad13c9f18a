#include <gtest/gtest.h>

#include <random>

#include "engine/search/MemoryWindow.h"
#include "engine/search/ResultRows.h"

namespace {

using Row = ResultRows::Row;

Row MakeRow(const char* name, const char* link, const char* sources = "1") {
    return {QString::fromUtf8(name), QStringLiteral("1 MB"), QString::fromUtf8(sources),
            QString::fromUtf8(link)};
}

// Inserts and cell writes at random places agree with a plain list, across chunk splits.
TEST(ResultRowsTest, AgreesWithAPlainListForInsertsAnywhere) {
    ResultRows rows;
    QList<Row> plain;
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) {
        const int size = static_cast<int>(plain.size());
        // Mostly in range, sometimes past the end or negative (both append).
        int index = std::uniform_int_distribution<int>(-2, size + 2)(random);
        const QString text = QString::number(i);
        const int at = rows.insertRow(index, text);
        if (index < 0 || index > size) index = size;
        ASSERT_EQ(at, index);
        Row row;
        row[0] = text;
        plain.insert(index, row);
        const int target = std::uniform_int_distribution<int>(0, size)(random);
        const QString link = QStringLiteral("link%1").arg(i % 700);
        ASSERT_TRUE(rows.setCell(target, 3, link));
        plain[target][3] = link;
    }
    ASSERT_EQ(rows.size(), plain.size());
    EXPECT_EQ(rows.rows(), plain);
    for (int r = 0; r < rows.size(); r += 97) EXPECT_EQ(rows.cell(r, 0), plain[r][0]);
    // The link index follows overwritten links.
    for (int i = 0; i < 700; ++i) {
        const QString link = QStringLiteral("link%1").arg(i);
        const bool present =
            std::any_of(plain.begin(), plain.end(), [&](const Row& row) { return row[3] == link; });
        ASSERT_EQ(rows.containsLink(link), present) << i;
    }
    EXPECT_EQ(rows.cell(-1, 0), QString());
    EXPECT_EQ(rows.cell(rows.size(), 0), QString());
    EXPECT_FALSE(rows.setCell(rows.size(), 0, QStringLiteral("x")));
    EXPECT_FALSE(rows.setCell(0, 4, QStringLiteral("x")));
}

TEST(ResultRowsTest, InsertNewRowsSkipsDuplicatesAndRowsWithAnEmptyCell) {
    MemoryResultList list;
    list.insertNewRows(0, {MakeRow("old", "L1")});
    const int inserted = list.insertNewRows(
        5,  // past the end: appended
        {MakeRow("a", "L2"), MakeRow("dup of a row in the list", "L1"), MakeRow("b", "L3"),
         MakeRow("dup within the call", "L2"), MakeRow("", "L4"), MakeRow("no sources", "L5", ""),
         MakeRow("c", "L6")});
    EXPECT_EQ(inserted, 3);
    const auto rows = list.rows();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0][0], "old");
    EXPECT_EQ(rows[1], MakeRow("a", "L2"));
    EXPECT_EQ(rows[2], MakeRow("b", "L3"));
    EXPECT_EQ(rows[3], MakeRow("c", "L6"));
    // A row skipped for an empty cell does not block its link later.
    EXPECT_EQ(list.insertNewRows(1, {MakeRow("d", "L4")}), 1);
    EXPECT_EQ(list.rows()[1], MakeRow("d", "L4"));
}

}  // namespace
