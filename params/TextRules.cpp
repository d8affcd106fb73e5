#include "TextRules.h"

#include <algorithm>

namespace {

unsigned char lowerAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

bool sameLetter(char a, char b) { return lowerAscii(a) == lowerAscii(b); }

}  // namespace

std::string_view TrimmedView(std::string_view text) {
    const size_t first = text.find_first_not_of(WhiteSpace);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(WhiteSpace);
    return text.substr(first, last - first + 1);
}

std::string TrimWhiteSpace(std::string_view text) { return std::string(TrimmedView(text)); }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameLetter);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return prefix.size() <= text.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), sameLetter);
}

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    const auto folded = [](char x, char y) { return lowerAscii(x) < lowerAscii(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
    return a < b;
}

std::vector<std::string> SplitPathComponents(const std::string& text, const std::string& separators) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (separators.find(c) != std::string::npos) {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}
