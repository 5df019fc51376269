// Small text helpers the suites share: UTF-16 to UTF-8 conversion, copying
// into caller buffers at a character boundary, and number formatting that
// does not depend on the process locale (the plug-in sets one).
#pragma once

#include "host_api.h"

#include <string>

namespace standin {

std::string utf16ToUtf8(const char16_t* text);

// The longest prefix of text that fits in maxBytes without cutting a UTF-8
// character in two.
std::string utf8Prefix(const std::string& text, size_t maxBytes);

// Copies at most size-1 bytes plus a NUL into buffer (cut at a character
// boundary). Returns whether the whole text fitted.
bool copyToBuffer(const std::string& text, char* buffer, size_t size);

// Shortest text that reads back as the same double ("1", "0.1", "1e+300").
std::string formatDouble(double value);
// Seventeen significant digits, as persistent data stores doubles.
std::string formatDouble17(double value);
// Whole-text parses; false on anything left over or out of range.
bool parseLong(const std::string& text, A_long& value);
bool parseDouble(const std::string& text, double& value);

std::string formatTime(const A_Time& time);

} // namespace standin
