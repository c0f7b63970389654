#include <gtest/gtest.h>

#include "document/core/ItemId.h"
#include "document/core/SlotRecord.h"

namespace cofferon {
namespace {

struct ValidCase {
    const char* text;
    std::int32_t id;
    std::int32_t data;
    const char* iconName;
};

TEST(ItemId, ValidTextsParse)
{
    const ValidCase cases[] = {
        {"1", 1, 0, "1-0.bmp"},
        {"397:3", 397, 3, "397-3.bmp"},
        {"1:0", 1, 0, "1-0.bmp"},
        {"12abc", 12, 0, "12abc-0.bmp"},
        {"035:01", 35, 1, "035-01.bmp"},
        {"2147483647", 2147483647, 0, "2147483647-0.bmp"},
        {"1:2147483647", 1, 2147483647, "1-2147483647.bmp"},
    };
    for (const ValidCase& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(isValidItemId(c.text));
        const auto parts = parseItemId(c.text);
        ASSERT_TRUE(parts);
        EXPECT_EQ(parts->id, c.id);
        EXPECT_EQ(parts->data, c.data);
        EXPECT_EQ(parts->iconName, c.iconName);
    }
}

TEST(ItemId, InvalidTextsAreRefused)
{
    const char* cases[] = {
        "",
        "0",
        "abc",
        "0:1",
        ":1",
        "1:",
        "1::",
        "5::",
        "1:2:3",
        "1:-2",
        "-5",
        // Beyond the signed 32-bit range: no wrap-around into another item.
        "2147483648",
        "4294967297",
        "1:2147483648",
        "99999999999999999999",
    };
    for (const char* text : cases) {
        EXPECT_FALSE(isValidItemId(text)) << text;
        EXPECT_FALSE(parseItemId(text)) << text;
    }
}

TEST(SlotGeometry, RowsAndColumnsRunNineToARow)
{
    const int cases[][3] = {{1, 1, 1}, {9, 1, 9}, {10, 2, 1}, {23, 3, 5}, {54, 6, 9}};
    for (const auto& [slot, row, column] : cases) {
        EXPECT_EQ(slotRow(slot), row) << slot;
        EXPECT_EQ(slotColumn(slot), column) << slot;
        EXPECT_EQ(slotAt(row, column), slot) << slot;
    }
}

TEST(SlotTable, RecordsAreIndependentCopies)
{
    SlotTable slots;
    slots[3].name = "three";
    slots[10] = slots[3];
    slots[3].name = "changed";
    EXPECT_EQ(slots[10].name, "three");
    slots.clear();
    EXPECT_EQ(slots, SlotTable{});
}

}  // namespace
}  // namespace cofferon
