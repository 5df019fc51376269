// The 16 label colours.

#include "mainwindow/LabelColors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(LabelColorsTest, SixteenColoursInLabelOrder)
{
    const float expected[16][3] = {
        {0.7098f, 0.2196f, 0.2196f}, {0.8941f, 0.8471f, 0.2980f}, {0.6627f, 0.7961f, 0.7804f},
        {0.8980f, 0.7373f, 0.7882f}, {0.6627f, 0.6627f, 0.7922f}, {0.9059f, 0.7569f, 0.6196f},
        {0.7020f, 0.7804f, 0.7020f}, {0.4039f, 0.4902f, 0.8784f}, {0.2902f, 0.6431f, 0.2980f},
        {0.5569f, 0.1725f, 0.6039f}, {0.9098f, 0.5725f, 0.0510f}, {0.4980f, 0.2706f, 0.1647f},
        {0.9569f, 0.4275f, 0.8392f}, {0.2392f, 0.6353f, 0.6471f}, {0.6588f, 0.5882f, 0.4667f},
        {0.1176f, 0.2510f, 0.1176f},
    };
    const int eightBit[16][3] = {
        {181, 56, 56},   {228, 216, 76},  {169, 203, 199}, {229, 188, 201}, {169, 169, 202}, {231, 193, 158},
        {179, 199, 179}, {103, 125, 224}, {74, 164, 76},   {142, 44, 154},  {232, 146, 13},  {127, 69, 42},
        {244, 109, 214}, {61, 162, 165},  {168, 150, 119}, {30, 64, 30},
    };
    std::vector<AEGP_ColorVal> colors(3, AEGP_ColorVal{0.5, 0.5, 0.5, 0.5});
    fillLabelColors(colors);
    ASSERT_EQ(colors.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i + 1);
        const AEGP_ColorVal& c = colors[static_cast<size_t>(i)];
        EXPECT_EQ(c.alpha, 1.0);
        // Single-precision values widened, not quotients of 255.
        EXPECT_EQ(c.red, static_cast<double>(expected[i][0]));
        EXPECT_EQ(c.green, static_cast<double>(expected[i][1]));
        EXPECT_EQ(c.blue, static_cast<double>(expected[i][2]));
        EXPECT_EQ(std::lround(c.red * 255.0), eightBit[i][0]);
        EXPECT_EQ(std::lround(c.green * 255.0), eightBit[i][1]);
        EXPECT_EQ(std::lround(c.blue * 255.0), eightBit[i][2]);
    }
    // Label 11 is the orange one.
    EXPECT_EQ(colors[10].red, static_cast<double>(0.9098f));
    EXPECT_NE(colors[0].red, 181.0 / 255.0);

    fillLabelColors(colors);
    EXPECT_EQ(colors.size(), 16u);
}

}  // namespace
