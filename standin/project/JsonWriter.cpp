#include "project/JsonWriter.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <cmath>

namespace standin {

namespace {

constexpr qsizetype kBufferSize = 1 << 16;

// Qt's own text for a scalar (shortest round-trip numbers, escaped strings).
// Numbers, the bulk of a file, are printed here as Qt prints them: whole
// numbers up to 2^53 as integers, others in the shortest form that reads
// back the same.
QByteArray scalarText(const QJsonValue& v)
{
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (std::isfinite(d)) {
            if (std::fabs(d) <= 9007199254740992.0 && d == std::trunc(d))
                return QByteArray::number(qint64(d));
            return QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
        }
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

void JsonStream::writeInline(const QJsonValue& v)
{
    if (!v.isArray()) {
        append(scalarText(v));
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
        append(scalarText(v));
    }
}

void JsonStream::objectWith(const QJsonObject& members, const QString& key, const std::function<void(int)>& streamed,
                            int indent)
{
    QStringList keys = members.keys();
    keys.removeAll(key);
    keys.append(key);
    keys.sort();
    raw("{\n");
    for (qsizetype i = 0; i < keys.size(); ++i) {
        pad(indent + 1);
        append(scalarText(QJsonValue(keys[i])));
        raw(": ");
        if (keys[i] == key)
            streamed(indent + 1);
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
