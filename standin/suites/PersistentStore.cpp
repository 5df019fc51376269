#include "PersistentStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include <sys/stat.h>

namespace standin {

namespace {

// Backslash, newline and carriage return are escaped everywhere; `always`
// lists further characters to escape anywhere, `leading` those to escape as
// the first character only (where they would start a comment or section).
std::string escape(const std::string& text, const char* always, const char* leading = "")
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c && (std::strchr(always, c) || (i == 0 && std::strchr(leading, c))))
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out;
}

std::string unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

// Position of the first '=' not preceded by an escaping backslash.
size_t findSeparator(const std::string& line)
{
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '=')
            return i;
    }
    return std::string::npos;
}

// Position of the ']' that closes a section header, or npos.
size_t findSectionEnd(const std::string& line)
{
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == ']')
            return i;
    }
    return std::string::npos;
}

// What the path names when that is something other than a regular file
// ("a FIFO", "a folder", ...); empty for a regular file or nothing at all.
// Looked at before any open: opening a FIFO waits for its other end, and a
// device or a folder is nothing to keep text in.
std::string specialFileKind(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode))
        return std::string();
    if (S_ISFIFO(info.st_mode))
        return "a FIFO";
    if (S_ISDIR(info.st_mode))
        return "a folder";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return "a device";
    if (S_ISSOCK(info.st_mode))
        return "a socket";
    return "not a regular file";
}

} // namespace

PersistentStore::PersistentStore() : PersistentStore(defaultPath()) {}

PersistentStore::PersistentStore(std::string path) : path_(std::move(path))
{
    std::string error;
    if (!load(&error))
        std::fprintf(stderr, "standin: %s\n", error.c_str());
}

std::string PersistentStore::defaultPath()
{
    if (const char* env = std::getenv("STANDIN_PREFS"); env && *env)
        return env;
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = ".";
    return base + "/standin-host/prefs.ini";
}

bool PersistentStore::load(std::string* error)
{
    values_.clear();
    refused_ = false;
    if (path_.empty())
        return true;
    if (const std::string kind = specialFileKind(path_); !kind.empty()) {
        // The run goes on with the values in memory; the file is left alone.
        refused_ = true;
        if (error)
            *error = path_ + " is " + kind + ", not a file: the persistent data is neither read from it nor"
                             " written to it in this run";
        return false;
    }
    QFile file(QString::fromStdString(path_));
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = "cannot read " + path_ + ": " + file.errorString().toStdString();
        return false;
    }
    int skipped = 0;
    values_ = parse(file.readAll().toStdString(), &skipped);
    if (skipped)
        std::fprintf(stderr, "standin: %s: %d line(s) not understood were skipped\n", path_.c_str(), skipped);
    return true;
}

bool PersistentStore::save(std::string* error) const
{
    if (path_.empty() || refused_)
        return true;
    if (const std::string kind = specialFileKind(path_); !kind.empty()) {
        if (error)
            *error = "cannot write " + path_ + ": it is " + kind + ", not a file";
        return false;
    }
    const QString path = QString::fromStdString(path_);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const std::string text = toText();
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size())
        || !file.commit()) {
        if (error)
            *error = "cannot write " + path_ + ": " + file.errorString().toStdString();
        return false;
    }
    return true;
}

bool PersistentStore::contains(const std::string& section, const std::string& key) const
{
    return values_.count({section, key}) > 0;
}

std::optional<std::string> PersistentStore::value(const std::string& section, const std::string& key) const
{
    auto it = values_.find({section, key});
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

bool PersistentStore::set(const std::string& section, const std::string& key, const std::string& value)
{
    values_[{section, key}] = value;
    std::string error;
    if (!save(&error)) {
        std::fprintf(stderr, "standin: %s\n", error.c_str());
        return false;
    }
    return true;
}

std::string PersistentStore::toText() const
{
    std::string out = "; standin-host persistent data\n";
    const std::string* section = nullptr;
    for (const auto& [key, value] : values_) {
        if (!section || *section != key.first) {
            section = &key.first;
            out += "\n[" + escape(key.first, "]") + "]\n";
        }
        out += escape(key.second, "=", "[;#") + "=" + escape(value, "") + "\n";
    }
    return out;
}

std::map<PersistentStore::Key, std::string> PersistentStore::parse(const std::string& text, int* skipped)
{
    std::map<Key, std::string> values;
    std::string section;
    std::istringstream in(text);
    std::string line;
    int bad = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            const size_t end = findSectionEnd(line);
            if (end == std::string::npos) {
                ++bad;
                continue;
            }
            section = unescape(line.substr(1, end - 1));
            continue;
        }
        const size_t eq = findSeparator(line);
        if (eq == std::string::npos) {
            ++bad;
            continue;
        }
        values[{section, unescape(line.substr(0, eq))}] = unescape(line.substr(eq + 1));
    }
    if (skipped)
        *skipped = bad;
    return values;
}

} // namespace standin
