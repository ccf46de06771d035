#include "actors/namegenerator.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <istream>
#include <sstream>
#include <stdexcept>

#include "platform/boundedfile.h"
#include "platform/crand.h"

namespace {

// A walk that never meets a space (statistics with a cycle of letters) stops here.
constexpr std::size_t MAX_NAME_LENGTH = 64;
// generate(min, max) gives up after this many names outside the bounds.
constexpr int MAX_ATTEMPTS = 1000;
// The game's word list is a few KiB; a file larger than this is refused rather than read at
// length. 4 MiB of words took the statistics 2 s.
constexpr std::size_t MAX_SOURCE_BYTES = std::size_t(1) << 20;
const char* const SOURCE_ERROR = "NameGenerator::buildStats - cannot open requested source file";
// What generate() gives when the statistics have nothing to say.
const char* const FALLBACK_NAME = "Error";

bool isWordBreak(int c) {
    return c == ' ' || c == '\n' || c == '\r';
}

// Reads the word file a character at a time, every run of blanks and line ends (CR LF
// included) as one space, with room to put one character back.
class WordStreamReader {
public:
    explicit WordStreamReader(std::istream& stream) : _stream(stream), _pending(false), _pendingChar(0) {}

    char read() {
        if (_pending) {
            _pending = false;
            return _pendingChar;
        }
        const int c = _stream.get();
        if (c == std::char_traits<char>::eof()) {
            return '\0';
        }
        if (!isWordBreak(c)) {
            return static_cast<char>(c);
        }
        while (isWordBreak(_stream.peek())) {
            _stream.get();
        }
        return ' ';
    }

    void putBack(char c) {
        _pending = true;
        _pendingChar = c;
    }

    // True once the stream is used up or can no longer be read (a read error, or a folder
    // where the word file should be, leaves it failed without reaching its end); a
    // character put back is still to come.
    bool ended() const { return !_pending && !_stream.good(); }

private:
    std::istream& _stream;
    bool _pending;
    char _pendingChar;
};

// The fallback name repeated and cut to the nearest length within the bounds.
std::string fallbackName(int minLength, int maxLength) {
    const std::string fallback = FALLBACK_NAME;
    const int length = std::clamp(static_cast<int>(fallback.size()), std::max(minLength, 0), maxLength);
    std::string name;
    while (static_cast<int>(name.size()) < length) {
        name += fallback;
    }
    return name.substr(0, static_cast<std::size_t>(length));
}

}  // namespace

NameGenerator::NameGenerator(const std::string& sourceFile, int order)
    : _stats(), _tokenCounts(), _startTokens(), _sourceFile(sourceFile), _order(std::clamp(order, 1, 5)) {
    crand::srand(static_cast<unsigned int>(std::time(nullptr)));
    // A folder reads as an empty file; anything else that gives no words stops the game, and
    // its error's fixed text says neither which file nor why, so that goes before it.
    std::string text;
    ReadFailure failure;
    if (!readBoundedFile(_sourceFile, MAX_SOURCE_BYTES, text, &failure) && !failure.folder) {
        std::fprintf(stderr, "Cannot read the word file %s: %s\n", _sourceFile.c_str(), failure.reason.c_str());
        throw std::runtime_error(SOURCE_ERROR);
    }
    std::istringstream stream(text);
    buildStats(stream);
}

void NameGenerator::buildStats(std::istream& stream) {
    WordStreamReader reader(stream);
    std::string token;
    while (!reader.ended()) {
        if (token.empty()) {
            for (int i = 0; i < _order; ++i) {
                token += reader.read();
            }
        }
        const char c = reader.read();
        // The pair that reaches the end of the file is not counted.
        if (reader.ended()) {
            break;
        }
        ++_stats[token][c];
        ++_tokenCounts[token];
        if (c == ' ' && _order > 1) {
            // The next token is the space and the first letters of the next word.
            token.clear();
            reader.putBack(' ');
        } else {
            token.erase(0, 1);
            token += c;
        }
    }
    rebuildStartingTokensList();
}

void NameGenerator::rebuildStartingTokensList() {
    _startTokens.clear();
    for (const auto& entry : _stats) {
        if (!entry.first.empty() && entry.first[0] == ' ') {
            _startTokens.push_back(entry.first);
        }
    }
}

int NameGenerator::randi(int lo, int hi) const {
    const int r = crand::rand();
    const float scale = static_cast<float>(hi + 1 - lo) / 32767.0f;
    const int value = lo + static_cast<int>(static_cast<double>(r) * scale);
    // The top draw, 32767, lands exactly one past hi.
    return std::min(value, hi);
}

std::string NameGenerator::generate() const {
    if (_startTokens.empty()) {
        return FALLBACK_NAME;
    }
    std::string token = _startTokens[randi(0, static_cast<int>(_startTokens.size()) - 1)];
    std::string name = token;
    for (;;) {
        // A token never followed by anything (only the file's last characters) ends the word.
        char c = ' ';
        const auto counted = _tokenCounts.find(token);
        const auto successors = _stats.find(token);
        if (counted != _tokenCounts.end() && counted->second > 0 && successors != _stats.end()) {
            const unsigned int v = static_cast<unsigned int>(randi(0, static_cast<int>(counted->second) - 1));
            unsigned int sum = 0;
            for (const auto& successor : successors->second) {
                c = successor.first;
                sum += successor.second;
                if (v < sum) {
                    break;
                }
            }
        }
        name += c;
        if (c == ' ') {
            break;
        }
        if (name.size() >= MAX_NAME_LENGTH) {
            name += ' ';
            break;
        }
        token.erase(0, 1);
        token += c;
    }
    // Drop the start token's leading space and the closing space.
    return name.size() < 2 ? std::string() : name.substr(1, name.size() - 2);
}

std::string NameGenerator::generate(int minLength, int maxLength) const {
    std::string name;
    for (int attempt = 0; attempt < MAX_ATTEMPTS; ++attempt) {
        name = generate();
        const int length = static_cast<int>(name.size());
        if (length >= minLength && length <= maxLength) {
            return name;
        }
    }
    // Statistics that cannot make a name of these bounds: the start of a long one will
    // do, else the fallback name, fitted to the bounds. Bounds no name can keep get it as it is.
    if (maxLength < minLength || maxLength < 0) {
        return FALLBACK_NAME;
    }
    if (maxLength > 0 && static_cast<int>(name.size()) > maxLength) {
        return name.substr(0, static_cast<std::size_t>(maxLength));
    }
    return fallbackName(minLength, maxLength);
}

void NameGenerator::printStats() const {
    for (const auto& entry : _stats) {
        const auto counted = _tokenCounts.find(entry.first);
        std::cout << entry.first << " (" << (counted == _tokenCounts.end() ? 0u : counted->second) << ")\n";
        for (const auto& successor : entry.second) {
            std::cout << " " << successor.first << " (" << successor.second << ")";
        }
        std::cout << "\n";
    }
}
