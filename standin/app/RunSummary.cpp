#include "RunSummary.h"

namespace standin {

namespace {

std::string quoted(const QString& text)
{
    return "\"" + printable(text.toStdString()) + "\"";
}

std::string keyedLine(const KeyedLayer& layer, const QString& runComposition)
{
    std::string line = "  " + quoted(layer.layer) + " (layer " + std::to_string(layer.layerId);
    if (layer.newLayer)
        line += ", new";
    if (layer.composition != runComposition)
        line += ", in " + quoted(layer.composition);
    line += "):";
    for (size_t i = 0; i < layer.streams.size(); ++i)
        line += std::string(i ? ", " : " ") + printable(layer.streams[i].first.toStdString()) + " "
            + std::to_string(layer.streams[i].second);
    return line + "\n";
}

std::string undoLine(const UndoGroupRecord& group)
{
    std::string line = "  " + std::string(size_t(2 * (group.depth - 1)), ' ') + "\"" + printable(group.name) + "\" (calls "
        + std::to_string(group.openSequence) + "-";
    if (group.closedByHost)
        line += "; left open, closed by the host";
    else
        line += std::to_string(group.closeSequence);
    line += "), " + std::to_string(group.changes) + " change" + (group.changes == 1 ? "" : "s");
    return line + "\n";
}

template <class T, class F> void appendList(std::string& out, const std::vector<T>& items, F line)
{
    for (size_t i = 0; i < items.size() && i < kSummaryListLimit; ++i)
        out += line(items[i]);
    if (items.size() > kSummaryListLimit)
        out += "  ... and " + std::to_string(items.size() - kSummaryListLimit) + " more\n";
}

} // namespace

std::string formatSummary(const RunSummary& s)
{
    std::string out = "Composition " + quoted(s.composition) + ": " + std::to_string(s.width) + " x "
        + std::to_string(s.height) + ", " + QString::number(s.frameRate, 'g', 6).toStdString() + " fps, "
        + std::to_string(s.layerCount) + " layer" + (s.layerCount == 1 ? "" : "s") + "\n";

    out += "Keys written:" + std::string(s.keyed.empty() ? " none" : "") + "\n";
    appendList(out, s.keyed, [&s](const KeyedLayer& layer) { return keyedLine(layer, s.composition); });

    size_t closed = 0;
    for (const UndoGroupRecord& group : s.undoGroups)
        if (group.closeSequence && !group.closedByHost)
            ++closed;
    out += "Undo groups: " + std::to_string(s.undoGroups.size()) + " opened, " + std::to_string(closed)
        + " closed\n";
    appendList(out, s.undoGroups, undoLine);

    out += "Suite calls: " + std::to_string(s.totalCalls) + ", failed: "
        + (s.failures.empty() ? std::string("none") : std::to_string(s.failures.size())) + "\n";
    appendList(out, s.failures, [](const CallRecord& r) { return "  " + printable(CallLog::format(r)) + "\n"; });

    out += "Leaks: " + s.leaks.describe() + "\n";
    for (const std::string& note : s.notes)
        out += printable(note) + "\n";
    return out;
}

std::string printable(const std::string& text)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                out += "\\x";
                out += digits[c >> 4];
                out += digits[c & 0xf];
            } else {
                out += ch;
            }
        }
    }
    return out;
}

void writeText(const std::string& text, std::FILE* to)
{
    std::fwrite(text.data(), 1, text.size(), to);
}

} // namespace standin
