#include "ArgFormat.h"

namespace standin {

std::string quoteForLog(const std::string& text)
{
    std::string out = "\"";
    const std::string shown = utf8Prefix(text, 120);
    for (char c : shown) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    if (shown.size() < text.size())
        out += "...";
    return out + "\"";
}

} // namespace standin
