// A linear look over a settings file's markup before it is parsed. The XML
// parser checks each new attribute of an element against all the earlier
// ones, and its tree takes many times the file's size in memory, so a file
// with one huge element, or millions of tiny ones, would freeze or exhaust
// the program. This scan counts attributes and markup in one pass and
// refuses what no file of this program comes near.
#include "settings/SettingsDocument.h"

#include <cstring>

namespace {

// The position just past `end` searched from `from`, or `size` when absent.
size_t skipPast(const char* bytes, size_t size, size_t from, const char* end)
{
    const size_t length = std::strlen(end);
    for (size_t i = from; i + length <= size; ++i)
        if (std::memcmp(bytes + i, end, length) == 0)
            return i + length;
    return size;
}

bool startsWith(const char* bytes, size_t size, size_t at, const char* text)
{
    const size_t length = std::strlen(text);
    return at + length <= size && std::memcmp(bytes + at, text, length) == 0;
}

} // namespace

QString checkSettingsMarkup(const char* bytes, size_t size)
{
    if (!bytes)
        return QString();
    qint64 markup = 0;
    qint64 attributes = 0;
    size_t i = 0;
    while (i < size) {
        if (bytes[i] != '<') {
            ++i;
            continue;
        }
        if (++markup > kMaxSettingsMarkup)
            return QStringLiteral("The file holds more than %1 elements.").arg(kMaxSettingsMarkup);
        if (startsWith(bytes, size, i, "<!--")) {
            i = skipPast(bytes, size, i + 4, "-->");
            continue;
        }
        if (startsWith(bytes, size, i, "<![CDATA[")) {
            i = skipPast(bytes, size, i + 9, "]]>");
            continue;
        }
        if (startsWith(bytes, size, i, "<?")) {
            i = skipPast(bytes, size, i + 2, "?>");
            continue;
        }
        // A tag (or a declaration): its attributes are the `=` signs outside
        // quoted values, up to the `>` that ends it.
        int inElement = 0;
        char quote = 0;
        for (++i; i < size; ++i) {
            const char c = bytes[i];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '=') {
                if (++inElement > kMaxSettingsAttributesPerElement)
                    return QStringLiteral("An element holds more than %1 attributes.")
                        .arg(kMaxSettingsAttributesPerElement);
                if (++attributes > kMaxSettingsAttributes)
                    return QStringLiteral("The file holds more than %1 attributes.").arg(kMaxSettingsAttributes);
            } else if (c == '>' || c == '<') {
                break;
            }
        }
        if (i < size && bytes[i] == '>')
            ++i;
    }
    return QString();
}
