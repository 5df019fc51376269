#include "project/JsonWriter.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace standin {

namespace {

constexpr qsizetype kBufferSize = 1 << 16;

// Qt's own text for a scalar (shortest round-trip numbers, escaped strings).
QByteArray scalarText(const QJsonValue& v)
{
    if (v.isDouble() && std::isfinite(v.toDouble())) {
        char text[kNumberTextSize];
        return QByteArray(text, printNumber(v.toDouble(), text));
    }
    const QByteArray doc = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return doc.mid(1, doc.size() - 2);
}

bool isScalarArray(const QJsonArray& a)
{
    for (const QJsonValue& v : a)
        if (v.isArray() || v.isObject())
            return false;
    return true;
}

bool holdsObject(const QJsonValue& v)
{
    if (v.isObject())
        return true;
    if (v.isArray())
        for (const QJsonValue& e : v.toArray())
            if (holdsObject(e))
                return true;
    return false;
}

} // namespace

// Numbers, the bulk of a file, are printed as Qt prints them: whole numbers
// up to 2^53 as integers, others in the shortest form that reads back the
// same. The shortest digits are the same whoever finds them; from 0.001 up
// they are printed without an exponent, as Qt does, and Qt prints the rest.
int printNumber(double d, char* out)
{
    const double magnitude = std::fabs(d);
    if (magnitude <= 9007199254740992.0 && d == std::trunc(d)) {
        const std::to_chars_result r = std::to_chars(out, out + kNumberTextSize, qint64(d));
        return int(r.ptr - out);
    }
    if (magnitude >= 0.001 && magnitude < 9007199254740992.0) {
        const std::to_chars_result r = std::to_chars(out, out + kNumberTextSize, d, std::chars_format::fixed);
        if (r.ec == std::errc())
            return int(r.ptr - out);
    }
    const QByteArray text = QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    const int n = int(std::min<qsizetype>(text.size(), kNumberTextSize));
    std::memcpy(out, text.constData(), size_t(n));
    return n;
}

JsonStream::JsonStream(QIODevice* device) : device_(device) {}

JsonStream::JsonStream(QByteArray* bytes) : bytes_(bytes) {}

JsonStream::~JsonStream()
{
    flush();
}

void JsonStream::append(const char* data, qsizetype size)
{
    if (bytes_) {
        bytes_->append(data, size);
        return;
    }
    buffer_.append(data, size);
    if (buffer_.size() >= kBufferSize)
        flush();
}

bool JsonStream::flush()
{
    if (device_ && !buffer_.isEmpty()) {
        if (ok_ && device_->write(buffer_) != buffer_.size())
            ok_ = false;
        buffer_.clear();
    }
    return ok_;
}

void JsonStream::raw(const char* text)
{
    append(text, qsizetype(qstrlen(text)));
}

void JsonStream::pad(int indent)
{
    static const QByteArray spaces(256, ' ');
    qsizetype n = 4 * qsizetype(indent);
    while (n > 0) {
        const qsizetype chunk = std::min(n, spaces.size());
        append(spaces.constData(), chunk);
        n -= chunk;
    }
}

void JsonStream::value(const QJsonValue& v, int indent)
{
    write(v, indent, false);
}

void JsonStream::writeScalar(const QJsonValue& v)
{
    if (v.isDouble() && std::isfinite(v.toDouble())) {
        char text[kNumberTextSize];
        append(text, printNumber(v.toDouble(), text));
        return;
    }
    append(scalarText(v));
}

void JsonStream::writeInline(const QJsonValue& v)
{
    if (!v.isArray()) {
        writeScalar(v);
        return;
    }
    const QJsonArray a = v.toArray();
    append('[');
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (i)
            append(", ", 2);
        writeInline(a[i]);
    }
    append(']');
}

void JsonStream::write(const QJsonValue& v, int indent, bool keysArray)
{
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        if (o.isEmpty()) {
            raw("{}");
            return;
        }
        raw("{\n");
        const QStringList keys = o.keys(); // sorted
        for (qsizetype i = 0; i < keys.size(); ++i) {
            pad(indent + 1);
            append(scalarText(QJsonValue(keys[i])));
            raw(": ");
            write(o.value(keys[i]), indent + 1, keys[i] == QLatin1String("keys"));
            raw(i + 1 < keys.size() ? ",\n" : "\n");
        }
        pad(indent);
        append('}');
    } else if (v.isArray()) {
        const QJsonArray a = v.toArray();
        if (a.isEmpty()) {
            raw("[]");
            return;
        }
        if (isScalarArray(a)) {
            writeInline(a);
            return;
        }
        // Keys all in the compact form share one line: a long export's
        // file is mostly keys.
        if (keysArray && !holdsObject(a)) {
            writeInline(a);
            return;
        }
        raw("[\n");
        for (qsizetype i = 0; i < a.size(); ++i) {
            pad(indent + 1);
            if (keysArray && a[i].isArray() && !holdsObject(a[i]))
                writeInline(a[i]);
            else
                write(a[i], indent + 1, false);
            raw(i + 1 < a.size() ? ",\n" : "\n");
        }
        pad(indent);
        append(']');
    } else {
        writeScalar(v);
    }
}

void JsonStream::objectWith(const QJsonObject& members, const QString& key, const std::function<void(int)>& streamed,
                            int indent)
{
    objectWith(members, Streamed{{key, streamed}}, indent);
}

void JsonStream::objectWith(const QJsonObject& members, const Streamed& streamed, int indent)
{
    QStringList keys = members.keys();
    for (const auto& [key, print] : streamed) {
        keys.removeAll(key);
        keys.append(key);
    }
    if (keys.isEmpty()) {
        raw("{}");
        return;
    }
    keys.sort();
    raw("{\n");
    for (qsizetype i = 0; i < keys.size(); ++i) {
        pad(indent + 1);
        append(scalarText(QJsonValue(keys[i])));
        raw(": ");
        const auto s = std::find_if(streamed.begin(), streamed.end(), [&](const auto& m) { return m.first == keys[i]; });
        if (s != streamed.end())
            s->second(indent + 1);
        else
            write(members.value(keys[i]), indent + 1, keys[i] == QLatin1String("keys"));
        raw(i + 1 < keys.size() ? ",\n" : "\n");
    }
    pad(indent);
    append('}');
}

void JsonStream::array(qsizetype count, const std::function<void(qsizetype, int)>& element, int indent)
{
    if (count == 0) {
        raw("[]");
        return;
    }
    raw("[\n");
    for (qsizetype i = 0; i < count; ++i) {
        pad(indent + 1);
        element(i, indent + 1);
        raw(i + 1 < count ? ",\n" : "\n");
    }
    pad(indent);
    append(']');
}

QByteArray writeJson(const QJsonValue& value)
{
    QByteArray out;
    {
        JsonStream stream(&out);
        stream.value(value, 0);
        stream.raw("\n");
    }
    return out;
}

} // namespace standin
