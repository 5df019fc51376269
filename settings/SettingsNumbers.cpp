#include "settings/SettingsNumbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace SettingsNumbers {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Past the leading blanks and a '+' (from_chars takes '-' only); null when
// the sign is followed by another sign ("+-5" is no number).
const char* numberStart(const char* text, bool& negative)
{
    while (isBlank(*text))
        ++text;
    negative = *text == '-';
    if (*text == '+') {
        ++text;
        if (*text == '-' || *text == '+')
            return nullptr;
    }
    return text;
}

} // namespace

QByteArray formatReal(double value)
{
    // to_chars never follows the locale; "%f" writes non-finite values as
    // "nan" and "inf" too.
    if (std::isnan(value))
        return QByteArrayLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? QByteArrayLiteral("-inf") : QByteArrayLiteral("inf");
    char buffer[400];  // the largest double has 309 digits before the point
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    if (ec != std::errc())
        return QByteArray::number(value, 'f', 6);
    return QByteArray(buffer, end - buffer);
}

int readInt(const char* text)
{
    if (!text)
        return 0;
    bool negative = false;
    const char* first = numberStart(text, negative);
    if (!first)
        return 0;
    const char* last = first + std::strlen(first);
    int value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range)
        return negative ? INT_MIN : INT_MAX;
    if (ec != std::errc())
        return 0;
    (void)end;
    return value;
}

double readReal(const char* text)
{
    if (!text)
        return 0.0;
    bool negative = false;
    const char* first = numberStart(text, negative);
    if (!first)
        return 0.0;
    const char* last = first + std::strlen(first);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        return std::numeric_limits<double>::quiet_NaN();
    if (ec != std::errc())
        return 0.0;
    (void)end;
    return value;
}

} // namespace SettingsNumbers
