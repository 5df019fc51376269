// A location inside a JSON document, e.g. compositions[0].layers[3].label.
#pragma once

#include <QString>

#include <vector>

namespace standin {

class JsonPath
{
public:
    struct Step {
        QString key;    // an object member ...
        int index = -1; // ... or, when >= 0, an array element
    };

    JsonPath() = default;
    JsonPath operator/(const QString& key) const;
    JsonPath operator/(const char* key) const { return *this / QString::fromLatin1(key); }
    JsonPath operator/(int index) const;

    const std::vector<Step>& steps() const { return steps_; }
    bool isEmpty() const { return steps_.empty(); }
    // "compositions[0].layers[3].label"; "(top level)" for the empty path.
    QString toString() const;

private:
    std::vector<Step> steps_;
};

// The 1-based line of the value at `path` in a syntactically valid JSON text,
// or of the deepest part of the path that exists; 0 when nothing matches.
int lineOfJsonPath(const QByteArray& text, const JsonPath& path);

// 1-based line and column of a byte offset.
void lineAndColumn(const QByteArray& text, int offset, int* line, int* column);

} // namespace standin
