// Numbers as settings files carry them, in the C locale whatever the user's:
// integers in decimal, reals in fixed notation with six decimals. Reading
// follows the standard library's atoi and atof (leading blanks, an optional
// sign, then as much of a number as there is; "250.000000" is the integer
// 250, "abc" is 0), without the locale they would consult.
#pragma once

#include <QByteArray>

namespace SettingsNumbers {

// "%f": 250 is "250.000000", 128 / 255 is "0.501961".
QByteArray formatReal(double value);
// The leading integer of `text`, 0 when there is none; values beyond int
// become INT_MIN or INT_MAX.
int readInt(const char* text);
// The leading real of `text`, 0 when there is none. Not-a-number and
// infinities come back as such ("nan", "inf"), and so does a value too large
// or too small for a double (as not-a-number): callers drop them.
double readReal(const char* text);

} // namespace SettingsNumbers
