#include "project/JsonPath.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace standin {

JsonPath JsonPath::operator/(const QString& key) const
{
    JsonPath p = *this;
    p.steps_.push_back(Step{key, -1});
    return p;
}

JsonPath JsonPath::operator/(int index) const
{
    JsonPath p = *this;
    p.steps_.push_back(Step{QString(), index < 0 ? 0 : index});
    return p;
}

QString JsonPath::toString() const
{
    if (steps_.empty())
        return QStringLiteral("(top level)");
    QString s;
    for (const Step& step : steps_) {
        if (step.index >= 0)
            s += QLatin1Char('[') + QString::number(step.index) + QLatin1Char(']');
        else
            s += (s.isEmpty() ? QString() : QStringLiteral(".")) + step.key;
    }
    return s;
}

namespace {

// A forward scanner over valid JSON text.
class Scanner
{
public:
    explicit Scanner(const QByteArray& text) : s_(text) {}

    int pos() const { return pos_; }
    bool atEnd() const { return pos_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_.at(pos_); }
    void advance() { ++pos_; }

    void skipSpace()
    {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++pos_;
    }

    // A string token starting at '"'; returns it decoded.
    QString readString()
    {
        const int start = pos_;
        bool escaped = false;
        ++pos_;
        while (!atEnd() && peek() != '"') {
            if (peek() == '\\') {
                escaped = true;
                ++pos_;
            }
            ++pos_;
        }
        ++pos_;
        const QByteArray raw = s_.mid(start, pos_ - start);
        if (!escaped)
            return QString::fromUtf8(raw.mid(1, raw.size() - 2));
        const QJsonDocument doc = QJsonDocument::fromJson("[" + raw + "]");
        return doc.array().at(0).toString();
    }

    // Any value: strings, literals and numbers, or a bracketed block.
    void skipValue()
    {
        skipSpace();
        if (peek() == '"') {
            readString();
            return;
        }
        if (peek() != '{' && peek() != '[') {
            while (!atEnd() && peek() != ',' && peek() != '}' && peek() != ']' && peek() != ' ' && peek() != '\n'
                   && peek() != '\r' && peek() != '\t')
                ++pos_;
            return;
        }
        int depth = 0;
        while (!atEnd()) {
            const char c = peek();
            if (c == '"') {
                readString();
                continue;
            }
            ++pos_;
            if (c == '{' || c == '[')
                ++depth;
            else if ((c == '}' || c == ']') && --depth == 0)
                return;
        }
    }

    // Positions the scanner at the member's value; false when absent.
    bool enterMember(const QString& key)
    {
        skipSpace();
        if (peek() != '{')
            return false;
        advance();
        for (;;) {
            skipSpace();
            if (peek() != '"')
                return false;
            const QString name = readString();
            skipSpace();
            if (peek() != ':')
                return false;
            advance();
            skipSpace();
            if (name == key)
                return true;
            skipValue();
            skipSpace();
            if (peek() != ',')
                return false;
            advance();
        }
    }

    bool enterElement(int index)
    {
        skipSpace();
        if (peek() != '[')
            return false;
        advance();
        for (int i = 0;; ++i) {
            skipSpace();
            if (peek() == ']' || atEnd())
                return false;
            if (i == index)
                return true;
            skipValue();
            skipSpace();
            if (peek() != ',')
                return false;
            advance();
        }
    }

private:
    const QByteArray& s_;
    int pos_ = 0;
};

} // namespace

void lineAndColumn(const QByteArray& text, int offset, int* line, int* column)
{
    offset = qBound(0, offset, int(text.size()));
    int l = 1;
    int lineStart = 0;
    for (int i = 0; i < offset; ++i)
        if (text.at(i) == '\n') {
            ++l;
            lineStart = i + 1;
        }
    if (line)
        *line = l;
    if (column)
        *column = offset - lineStart + 1;
}

int lineOfJsonPath(const QByteArray& text, const JsonPath& path)
{
    Scanner scanner(text);
    scanner.skipSpace();
    if (scanner.atEnd())
        return 0;
    int best = scanner.pos();
    for (const JsonPath::Step& step : path.steps()) {
        const bool found = step.index >= 0 ? scanner.enterElement(step.index) : scanner.enterMember(step.key);
        if (!found)
            break;
        best = scanner.pos();
    }
    int line = 0;
    lineAndColumn(text, best, &line, nullptr);
    return line;
}

} // namespace standin
