#include "mainwindow/LabelColors.h"

// Stored as single-precision numbers with four decimals and widened when
// read, so they are not the quotients n / 255.
static const float kLabelRgb[kLabelColorCount][3] = {
    {0.7098f, 0.2196f, 0.2196f},  // 1: red
    {0.8941f, 0.8471f, 0.2980f},  // 2: yellow
    {0.6627f, 0.7961f, 0.7804f},  // 3: aqua
    {0.8980f, 0.7373f, 0.7882f},  // 4: pink
    {0.6627f, 0.6627f, 0.7922f},  // 5: lavender
    {0.9059f, 0.7569f, 0.6196f},  // 6: peach
    {0.7020f, 0.7804f, 0.7020f},  // 7: sea foam
    {0.4039f, 0.4902f, 0.8784f},  // 8: blue
    {0.2902f, 0.6431f, 0.2980f},  // 9: green
    {0.5569f, 0.1725f, 0.6039f},  // 10: purple
    {0.9098f, 0.5725f, 0.0510f},  // 11: orange
    {0.4980f, 0.2706f, 0.1647f},  // 12: brown
    {0.9569f, 0.4275f, 0.8392f},  // 13: fuchsia
    {0.2392f, 0.6353f, 0.6471f},  // 14: cyan
    {0.6588f, 0.5882f, 0.4667f},  // 15: sandstone
    {0.1176f, 0.2510f, 0.1176f},  // 16: dark green
};

void fillLabelColors(std::vector<AEGP_ColorVal>& colors)
{
    colors.clear();
    colors.reserve(kLabelColorCount);
    for (const auto& rgb : kLabelRgb)
        colors.push_back(AEGP_ColorVal{1.0, rgb[0], rgb[1], rgb[2]});
}
