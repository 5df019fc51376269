// The host's persistent data: a map (section, key) -> text, kept in a small
// key=value file between runs. The file is $STANDIN_PREFS, or
// $XDG_CONFIG_HOME/standin-host/prefs.ini (~/.config/... without XDG).
//
// File format (tests may write and read it directly):
//
//     ; comment
//     [VH Zolvar 2]
//     UI Theme=1
//     Selection Stroke Width=2
//     Auto Saved Settings File=/home/me/.zolvar_autosave.xml
//
// The key runs to the first unescaped '='; nothing is trimmed. Backslash
// escapes: \\ \n \r, and \= \[ \] \; \# where the character would otherwise
// be read as syntax. Longs are written in decimal, doubles with 17
// significant digits, strings as UTF-8. Every write rewrites the file
// atomically (temporary file, then rename).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace standin {

class PersistentStore
{
public:
    using Key = std::pair<std::string, std::string>; // section, key

    // Uses defaultPath() and loads it.
    PersistentStore();
    // Uses the given file and loads it; an empty path keeps everything in
    // memory only.
    explicit PersistentStore(std::string path);

    static std::string defaultPath();
    const std::string& path() const { return path_; }

    // Re-reads the file (a missing file is an empty store). False with a
    // message when it cannot be read. A path naming a FIFO, a folder or a
    // device is not opened: the store then keeps its values in memory only
    // and save() leaves the path alone.
    bool load(std::string* error = nullptr);
    bool save(std::string* error = nullptr) const;

    bool contains(const std::string& section, const std::string& key) const;
    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    // Stores the value and writes the file; false when the file could not be
    // written (the value is kept in memory).
    bool set(const std::string& section, const std::string& key, const std::string& value);

    const std::map<Key, std::string>& values() const { return values_; }
    std::string toText() const;
    // Parses file text; lines that are not understood are skipped and
    // counted in *skipped.
    static std::map<Key, std::string> parse(const std::string& text, int* skipped = nullptr);

private:
    std::string path_;
    bool refused_ = false; // load() found no file at path_ to use
    std::map<Key, std::string> values_;
};

} // namespace standin
