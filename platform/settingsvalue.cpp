#include "platform/settings.h"

#include <cctype>
#include <locale>
#include <sstream>

namespace {

bool equalsIgnoringCase(const std::string& text, const char* word) {
    std::size_t n = 0;
    for (; word[n] != '\0'; ++n) {
        if (n >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[n])) != static_cast<unsigned char>(word[n])) {
            return false;
        }
    }
    return n == text.size();
}

// Stream extraction in the classic locale, so a file reads the same whatever the
// program's locale. Whatever extraction stores is kept (0 when nothing could be read).
template <typename N>
N readNumber(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    N number = 0;
    in >> number;
    return number;
}

int readInt(const std::string& text) {
    if (equalsIgnoringCase(text, "true") || equalsIgnoringCase(text, "on")) {
        return 1;
    }
    if (equalsIgnoringCase(text, "false") || equalsIgnoringCase(text, "off")) {
        return 0;
    }
    return readNumber<int>(text);
}

}  // namespace

Settings::Value::Value() : f(0.0f), i(0) {}

Settings::Value::Value(const std::string& t) : f(readNumber<float>(t)), i(readInt(t)), text(t) {}

Settings::Value& Settings::Value::operator=(const std::string& t) {
    *this = Value(t);
    return *this;
}

Settings::Value& Settings::Value::operator=(int number) {
    return *this = std::to_string(number);
}

Settings::Value& Settings::Value::operator=(float number) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << static_cast<double>(number);
    return *this = out.str();
}
