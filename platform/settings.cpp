#include "platform/settings.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <set>
#include <sstream>
#include <vector>

#include "platform/safewrite.h"

namespace {

std::string fullKey(const std::string& key) {
    return key.find('@') == std::string::npos ? key + "@0" : key;
}

std::string indexedKey(const std::string& name, std::size_t index) {
    return name + "@" + std::to_string(index);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Splits one line into tokens, each traced unless asked not to. A quotation joins blanks into
// a token and always yields one (even empty); an unfinished quotation loses only its own token.
std::vector<std::string> tokenise(const std::string& line, bool trace = true) {
    std::vector<std::string> tokens;
    std::string token;
    bool quoted = false;
    const auto add = [&tokens, trace](const std::string& t) {
        if (trace) {
            std::cout << ':' << t << '\n';
        }
        tokens.push_back(t);
    };
    for (const char c : line) {
        if (c == '"') {
            if (quoted) {
                add(token);
                token.clear();
            }
            quoted = !quoted;
        } else if (quoted || !isBlank(c)) {
            token += c;
        } else if (!token.empty()) {
            add(token);
            token.clear();
        }
    }
    if (!quoted && !token.empty()) {
        add(token);
    }
    return tokens;
}

std::string baseName(const std::string& key) {
    const std::size_t at = key.rfind('@');
    return at == std::string::npos ? key : key.substr(0, at);
}

bool needsQuotes(const std::string& text) {
    return text.find_first_of(" \t\r") != std::string::npos;
}

// The file format has no escapes: a line break or a double quote cannot be written back.
bool writable(const std::string& text) {
    return text.find_first_of("\n\"") == std::string::npos;
}

std::string quoted(const std::string& text) {
    return needsQuotes(text) ? '"' + text + '"' : text;
}

// Whether the part after the last '@' is a value index as the loader writes one.
bool hasIndex(const std::string& key) {
    const std::size_t at = key.rfind('@');
    if (at == std::string::npos || at + 1 == key.size()) {
        return false;
    }
    const std::string index = key.substr(at + 1);
    return index.find_first_not_of("0123456789") == std::string::npos && (index == "0" || index[0] != '0');
}

// The lines of a file's text, a byte order mark before the first left out: an editor that
// writes one would otherwise make it part of the first name.
template <class Each>
void forEachLine(const std::string& contents, Each each) {
    const std::string mark = "\xEF\xBB\xBF";
    std::istringstream lines(contents.compare(0, mark.size(), mark) == 0 ? contents.substr(mark.size()) : contents);
    std::string line;
    for (std::size_t number = 1; std::getline(lines, line); ++number) {
        each(line, number);
    }
}

}  // namespace

Settings::Settings() : _comment('#') {}

bool Settings::load(const std::string& path, bool merge, ReadFailure* failure) {
    std::string contents;
    if (!readBoundedFile(path, maxFileBytes, contents, failure)) {
        return false;
    }
    if (!merge) {
        _values.clear();
    }
    parse(contents);
    return true;
}

bool Settings::loadSavable(const std::string& path, ReadFailure* failure) {
    std::string contents;
    if (!readBoundedFile(path, maxFileBytes, contents, failure)) {
        return false;
    }
    Settings read;
    read._comment = _comment;
    read.parse(contents);
    const std::string why = read.whyNotSavable(contents);
    if (!why.empty()) {
        if (failure != nullptr) {
            *failure = ReadFailure();
            failure->reason = why;
        }
        return false;
    }
    _values.swap(read._values);
    return true;
}

void Settings::parse(const std::string& contents) {
    forEachLine(contents, [this](const std::string& line, std::size_t) { parseLine(line); });
}

std::string Settings::whyNotSavable(const std::string& file) const {
    std::string text;
    std::string failing;
    if (!contents(text, &failing)) {
        // The line of that name, or the line whose first value is filed under it.
        std::string why;
        forEachLine(file, [&](const std::string& line, std::size_t number) {
            const std::vector<std::string> tokens = tokenise(line, false);
            if (!why.empty() || tokens.empty()) {
                return;
            }
            const std::string& name = tokens.front();
            if (name == failing || (hasIndex(name) && baseName(name) == failing)) {
                why = "line " + std::to_string(number) + " has a name the game cannot save back: " + name;
            }
        });
        return why.empty() ? "a setting the game cannot save back" : why;
    }
    if (text.size() > maxFileBytes) {
        return "written as the game writes it, with two blanks after each name, it would be larger than " +
               sizeText(maxFileBytes);
    }
    return "";
}

void Settings::parseLine(const std::string& line) {
    const std::vector<std::string> tokens = tokenise(line);
    if (tokens.empty()) {
        return;
    }
    const std::string& name = tokens.front();
    if (name.empty() || name.front() == _comment) {
        return;
    }
    for (std::size_t index = 0; index + 1 < tokens.size(); ++index) {
        const std::string& text = tokens[index + 1];
        const std::string key = indexedKey(name, index);
        const Value value(text);
        _values[key] = value;
        if (index == 0) {
            _values[name] = value;
        }
        std::cout << key << " = " << text << '\n';
    }
}

bool Settings::save(const std::string& path, std::string* reason) const {
    std::string text;
    if (!contents(text)) {
        if (reason != nullptr) {
            *reason = "a setting that would not read back";
        }
        return false;
    }
    if (text.size() > maxFileBytes) {
        if (reason != nullptr) {
            *reason = "the settings would be larger than " + sizeText(maxFileBytes) + ", which the game does not read";
        }
        return false;
    }
    return safeWrite(path, text, reason);
}

// A name's values from index 0 on, up to the first index missing.
std::vector<std::string> Settings::lineValues(const std::string& name) const {
    std::vector<std::string> values;
    for (std::size_t index = 0;; ++index) {
        const auto found = _values.find(indexedKey(name, index));
        if (found == _values.end()) {
            return values;
        }
        values.push_back(found->second.text);
    }
}

// Whether loading the written line of this name gives back the store's own keys: the loader
// skips a line without a name or with a comment for one, and files the first value under
// the plain name too, which for a name holding '@' is a key of the store like any other.
bool Settings::lineReadsBack(const std::string& name, const std::vector<std::string>& values) const {
    if (values.empty()) {
        return true;
    }
    if (name.empty() || name.front() == _comment || !writable(name)) {
        return false;
    }
    if (std::find_if(values.begin(), values.end(), [](const std::string& v) { return !writable(v); }) !=
        values.end()) {
        return false;
    }
    if (name.find('@') == std::string::npos) {
        return true;  // the plain name is no key the store hands out
    }
    // An empty value is written bare, so the first value read is the first non-empty one.
    const auto first = std::find_if(values.begin(), values.end(), [](const std::string& v) { return !v.empty(); });
    const auto mirror = _values.find(name);
    return first == values.end() || (mirror != _values.end() && mirror->second.text == *first);
}

bool Settings::contents(std::string& out, std::string* failing) const {
    std::set<std::string> names;
    for (const auto& entry : _values) {
        const std::string& key = entry.first;
        // A key like "a@b" comes back only as the plain key of a line of that name.
        if (key.find('@') != std::string::npos && !hasIndex(key) && _values.count(key + "@0") == 0) {
            if (failing != nullptr) {
                *failing = key;
            }
            return false;
        }
        names.insert(baseName(key));
    }
    out.clear();
    for (const std::string& name : names) {
        const std::vector<std::string> values = lineValues(name);
        if (!lineReadsBack(name, values)) {
            if (failing != nullptr) {
                *failing = name;
            }
            return false;
        }
        out += quoted(name);
        out += ' ';
        for (const std::string& text : values) {
            out += ' ';
            // An empty text goes out bare; the game relies on it vanishing on reload.
            out += quoted(text);
        }
        out += '\n';
    }
    return true;
}

Settings::Value& Settings::operator[](const std::string& key) {
    return _values[fullKey(key)];
}

bool Settings::exists(const std::string& key) const {
    return _values.count(fullKey(key)) != 0;
}

bool Settings::erase(const std::string& key) {
    return _values.erase(key) != 0;
}

void Settings::clear() {
    _values.clear();
}
