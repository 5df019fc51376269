// A deterministic, readable JSON printer: objects with sorted members, one
// per line, 4-space indents; arrays of plain values (no arrays or objects) on
// one line; a "keys" array of compact keys (no objects) on one line, and in
// one that also holds objects each compact key on a line of its own.
//
// JsonStream prints to a device as it goes, so that a large document never
// needs to exist whole: the caller hands over small trees and streams the
// large arrays element by element.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QIODevice;

namespace standin {

QByteArray writeJson(const QJsonValue& value);

// Prints the finite number `d` into `out` (kNumberTextSize bytes at least)
// exactly as Qt's JSON prints it; returns the length.
constexpr int kNumberTextSize = 40;
int printNumber(double d, char* out);

class JsonStream
{
public:
    // Prints to `device` (through a buffer), or into `bytes`.
    explicit JsonStream(QIODevice* device);
    explicit JsonStream(QByteArray* bytes);
    ~JsonStream();
    JsonStream(const JsonStream&) = delete;
    JsonStream& operator=(const JsonStream&) = delete;

    // `value` at nesting depth `indent`.
    void value(const QJsonValue& value, int indent);
    // An object of the members of `members` and one member `key` more, whose
    // value `streamed` prints at depth indent + 1; the members sorted.
    void objectWith(const QJsonObject& members, const QString& key, const std::function<void(int)>& streamed,
                    int indent);
    // The same with any number of streamed members (all members sorted).
    using Streamed = std::vector<std::pair<QString, std::function<void(int)>>>;
    void objectWith(const QJsonObject& members, const Streamed& streamed, int indent);
    // An array of `count` elements, element i printed by element(i, indent + 1).
    void array(qsizetype count, const std::function<void(qsizetype, int)>& element, int indent);
    void raw(const char* text);
    void raw(const char* text, qsizetype size) { append(text, size); }
    // A finite number as value() prints it.
    void number(double d)
    {
        char text[kNumberTextSize];
        append(text, printNumber(d, text));
    }
    // Hands the buffer to the device; false once a write has failed.
    bool flush();
    bool ok() const { return ok_; }

private:
    void append(const char* data, qsizetype size);
    void append(const QByteArray& bytes) { append(bytes.constData(), bytes.size()); }
    void append(char c) { append(&c, 1); }
    void write(const QJsonValue& v, int indent, bool keysArray);
    void writeInline(const QJsonValue& v);
    void writeScalar(const QJsonValue& v);
    void pad(int indent);

    QIODevice* device_ = nullptr;
    QByteArray* bytes_ = nullptr;
    QByteArray buffer_;
    bool ok_ = true;
};

} // namespace standin
