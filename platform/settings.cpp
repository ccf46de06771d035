#include "platform/settings.h"

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

// Splits one line into tokens. A quotation joins blanks into a token and always yields
// one (even empty); an unfinished quotation loses only its own token.
std::vector<std::string> tokenise(const std::string& line) {
    std::vector<std::string> tokens;
    std::string token;
    bool quoted = false;
    const auto add = [&tokens](const std::string& t) {
        std::cout << ':' << t << '\n';
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

bool readWholeFile(const std::string& path, std::string& contents) {
    std::FILE* const file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        contents.append(buffer, got);
    }
    // A path that opens but cannot be read (a folder) counts as unreadable.
    const bool readable = std::ferror(file) == 0;
    std::fclose(file);
    return readable;
}

std::string baseName(const std::string& key) {
    const std::size_t at = key.rfind('@');
    return at == std::string::npos ? key : key.substr(0, at);
}

bool needsQuotes(const std::string& text) {
    return text.find_first_of(" \t\r") != std::string::npos;
}

}  // namespace

Settings::Settings() : _comment('#') {}

bool Settings::load(const std::string& path, bool merge) {
    std::string contents;
    if (!readWholeFile(path, contents)) {
        return false;
    }
    if (!merge) {
        _values.clear();
    }
    std::istringstream lines(contents);
    std::string line;
    while (std::getline(lines, line)) {
        parseLine(line);
    }
    return true;
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

bool Settings::save(const std::string& path) const {
    return safeWrite(path, contents());
}

std::string Settings::contents() const {
    std::set<std::string> names;
    for (const auto& entry : _values) {
        names.insert(baseName(entry.first));
    }
    std::string out;
    for (const std::string& name : names) {
        out += name;
        out += ' ';
        for (std::size_t index = 0;; ++index) {
            const auto found = _values.find(indexedKey(name, index));
            if (found == _values.end()) {
                break;
            }
            const std::string& text = found->second.text;
            out += ' ';
            // An empty text goes out bare; the game relies on it vanishing on reload.
            out += needsQuotes(text) ? '"' + text + '"' : text;
        }
        out += '\n';
    }
    return out;
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
