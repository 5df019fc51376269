#include "Text.h"

#include <QByteArray>
#include <QString>

#include <charconv>
#include <cstdint>

namespace standin {

std::string utf16ToUtf8(const char16_t* text)
{
    if (!text)
        return std::string();
    return QString::fromUtf16(text).toUtf8().toStdString();
}

std::string utf8Prefix(const std::string& text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    size_t cut = maxBytes;
    // Step back over continuation bytes to the start of the cut character.
    while (cut > 0 && (uint8_t(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut);
}

bool copyToBuffer(const std::string& text, char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return text.empty();
    const std::string part = utf8Prefix(text, size - 1);
    text.copy(buffer, part.size());
    buffer[part.size()] = '\0';
    return part.size() == text.size();
}

std::string formatDouble(double value)
{
    char text[64];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, end) : std::string("?");
}

std::string formatDouble17(double value)
{
    return QByteArray::number(value, 'g', 17).toStdString();
}

bool parseLong(const std::string& text, A_long& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && first != last;
}

bool parseDouble(const std::string& text, double& value)
{
    bool ok = false;
    const double v = QByteArray::fromStdString(text).toDouble(&ok);
    if (ok)
        value = v;
    return ok;
}

std::string formatTime(const A_Time& time)
{
    return std::to_string(time.value) + "/" + std::to_string(time.scale);
}

} // namespace standin
