// Which table entry colours a layer label.
#include "model/LabelColor.h"

#include <gtest/gtest.h>

namespace {

TEST(LabelColorTest, LabelsOneToSixteenWithinTheTableHaveAColour)
{
    std::vector<AEGP_ColorVal> table;
    for (int i = 0; i < 17; ++i)
        table.push_back(AEGP_ColorVal{1.0, i / 16.0, 0.0, 0.0});

    EXPECT_EQ(LabelColorOf(1, table), &table[0]);
    EXPECT_EQ(LabelColorOf(16, table), &table[15]);
    // No label, out of range, or an entry past the table: no colour.
    for (int label : {0, -1, 17, 127, -128})
        EXPECT_EQ(LabelColorOf(label, table), nullptr) << label;
    table.resize(3);
    EXPECT_EQ(LabelColorOf(3, table), &table[2]);
    EXPECT_EQ(LabelColorOf(4, table), nullptr);
    EXPECT_EQ(LabelColorOf(1, {}), nullptr);
}

} // namespace
