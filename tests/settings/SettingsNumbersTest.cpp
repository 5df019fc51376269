#include "settings/SettingsNumbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace SettingsNumbers;

TEST(SettingsNumbers, RealsAreWrittenWithSixDecimals)
{
    const struct {
        double value;
        const char* text;
    } rows[] = {
        {250.0, "250.000000"},      {128.0 / 255.0, "0.501961"}, {0.0, "0.000000"},  {1.0, "1.000000"},
        {2.0 / 255.0, "0.007843"},  {-12.5, "-12.500000"},       {1e-7, "0.000000"}, {16777200.0, "16777200.000000"},
        {double(0.015f), "0.015000"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(formatReal(row.value), QByteArray(row.text)) << row.value;
}

TEST(SettingsNumbers, IntegersAreReadLikeAtoi)
{
    const struct {
        const char* text;
        int value;
    } rows[] = {
        {"250", 250},        {"250.000000", 250}, {"-3", -3},          {"+7", 7},     {"  \t42x", 42},
        {"abc", 0},          {"", 0},             {"-", 0},            {"+-5", 0},    {"2147483648", INT_MAX},
        {"-99999999999", INT_MIN}, {"1e3", 1},    {"0x10", 0},         {"\n-1", -1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(readInt(row.text), row.value) << '"' << row.text << '"';
    EXPECT_EQ(readInt(nullptr), 0);
}

TEST(SettingsNumbers, RealsAreReadLikeAtof)
{
    const struct {
        const char* text;
        double value;
    } rows[] = {
        {"250.000000", 250.0}, {"0.501961", 0.501961}, {"-1.5e2", -150.0}, {"+.5", 0.5},   {" 3.25abc", 3.25},
        {"abc", 0.0},          {"", 0.0},              {"1e", 1.0},        {"+-1", 0.0},   {"300.700000", 300.7},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(readReal(row.text), row.value) << '"' << row.text << '"';
    // Not finite, or beyond a double: the callers drop these.
    for (const char* text : {"nan", "-inf", "inf", "infinity", "1e999", "-1e999"})
        EXPECT_FALSE(std::isfinite(readReal(text))) << text;
}
