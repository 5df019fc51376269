// Turns the arguments of a suite call into the text the call log keeps:
// handles by kind and serial, strings quoted, times as value/scale. Output
// pointers are left out unless they are NULL.
#pragma once

#include "Handles.h"
#include "Text.h"

#include <string>
#include <type_traits>

namespace standin {

std::string quoteForLog(const std::string& text);

template <class T> void formatArgument(std::string& out, T value)
{
    auto sep = [&out] {
        if (!out.empty())
            out += ", ";
    };
    if constexpr (IsHandle<T>::value) {
        sep();
        out += describeHandle(value);
    } else if constexpr (std::is_same_v<T, const char*>) {
        sep();
        out += value ? quoteForLog(value) : std::string("NULL");
    } else if constexpr (std::is_same_v<T, const char16_t*>) {
        sep();
        out += value ? quoteForLog(utf16ToUtf8(value)) : std::string("NULL");
    } else if constexpr (std::is_same_v<T, const A_Time*>) {
        sep();
        out += value ? formatTime(*value) : std::string("NULL");
    } else if constexpr (std::is_floating_point_v<T>) {
        sep();
        out += formatDouble(value);
    } else if constexpr (std::is_integral_v<T>) {
        sep();
        out += std::to_string(value);
    } else if constexpr (std::is_pointer_v<T> && std::is_function_v<std::remove_pointer_t<T>>) {
        sep();
        out += value ? "function" : "NULL";
    } else if constexpr (std::is_same_v<T, void*>) {
        sep();
        out += value ? "refcon" : "NULL";
    } else if constexpr (std::is_pointer_v<T> && std::is_const_v<std::remove_pointer_t<T>>) {
        sep();
        out += value ? "{...}" : "NULL";
    } else if constexpr (std::is_pointer_v<T>) {
        // An output: only its absence is worth noting.
        if (!value) {
            sep();
            out += "NULL";
        }
    }
}

template <class... Args> std::string formatArguments(Args... args)
{
    std::string out;
    (formatArgument(out, args), ...);
    return out;
}

} // namespace standin
