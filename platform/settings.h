#ifndef QUELLARIS_PLATFORM_SETTINGS_H
#define QUELLARIS_PLATFORM_SETTINGS_H

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/boundedfile.h"

// The key/value store behind every configuration file. A file line is a name followed by
// values; value i of a name lives under "name@i", and a key given without '@' means "@0".
class Settings {
public:
    // One stored value: its text, and the float and int readings of it made once when it
    // was stored, so callers read whichever form they need directly.
    class Value {
    public:
        Value();
        explicit Value(const std::string& text);

        Value& operator=(const std::string& text);
        // Written in decimal, then read back.
        Value& operator=(int number);
        // Written as a stream writes a double by default (six significant digits), then
        // read back, so f holds the rounded number and i its leading integer digits.
        Value& operator=(float number);

        float f;
        int i;
        std::string text;
    };

    Settings();

    // The game's settings files are a few KiB; a file larger than this is not one of them.
    static constexpr std::size_t maxFileBytes = std::size_t(256) << 10;

    // Returns false, leaving the store as it was, when the file cannot be read: not there,
    // not a regular file (a folder, a named pipe, a device) or over maxFileBytes; failure,
    // when given, then says which and why (see boundedfile.h). Without merge the store holds
    // only the file's values afterwards; with it the file's values replace those under the
    // same keys. Every token and stored value is traced to stdout.
    // A byte order mark that an editor put before the first line is no part of its name.
    bool load(const std::string& path, bool merge, ReadFailure* failure = nullptr);
    // load() without merge, for the file the store is saved back to: a file that reads but
    // that save() would then refuse for good is refused too, the store left as it was and
    // failure saying which line or why: a name such as "a@1" whose keys clash with those the
    // loader makes for another line's values, or lines the writer's two blanks after each
    // name would push over maxFileBytes. Kept, such a file would cost every change.
    bool loadSavable(const std::string& path, ReadFailure* failure = nullptr);
    // Writes the store sorted by name. The old file is replaced only once the new one is
    // completely written, so a failed save (reported as false, with why in reason when
    // given) keeps the previous settings; a symbolic link is followed only to a regular
    // file, which is replaced while the link stays (see safewrite.h). A store
    // that would not read back to its own keys and values is refused (false, nothing
    // written): a text holding a line break or a double quote, a name the loader skips (empty,
    // or starting with the comment character), and names with '@' whose keys would come back
    // different, and a store whose file would be larger than maxFileBytes (written, it would
    // be refused at the next start and lost at the next save). A name holding a blank is
    // written quoted.
    bool save(const std::string& path, std::string* reason = nullptr) const;

    // A missing key is added with an empty value.
    Value& operator[](const std::string& key);
    bool exists(const std::string& key) const;
    // Removes exactly this key (no "@0" is added).
    bool erase(const std::string& key);
    void clear();
    // Every stored key with its value, in key order.
    const std::map<std::string, Value>& values() const { return _values; }

private:
    void parse(const std::string& contents);
    void parseLine(const std::string& line);
    // Why save() would refuse the store of this file's text, or empty.
    std::string whyNotSavable(const std::string& file) const;
    std::vector<std::string> lineValues(const std::string& name) const;
    bool lineReadsBack(const std::string& name, const std::vector<std::string>& values) const;
    // The file text of the whole store; false when some key would not read back, with the
    // name of its line in failing when given.
    bool contents(std::string& out, std::string* failing = nullptr) const;

    std::map<std::string, Value> _values;
    char _comment;
};

#endif
