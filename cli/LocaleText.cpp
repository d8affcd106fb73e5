#include "LocaleText.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

#include "ServerCharset.h"
#include "TextRules.h"

namespace {

// Converts all of input with iconv; false when it stops on a sequence it
// cannot convert.
bool convert(const std::string& from, const std::string& to, const std::string& input, std::string& output) {
    iconv_t converter = ::iconv_open(to.c_str(), from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    std::vector<char> buffer(input.size() * 4 + 16);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* out = buffer.data();
    size_t outLeft = buffer.size();
    const size_t result = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (result == static_cast<size_t>(-1)) return false;
    output.assign(buffer.data(), static_cast<size_t>(out - buffer.data()));
    return true;
}

// The code points of UTF-8 text; false at an invalid sequence.
bool decodeUtf8(const std::string& text, std::vector<char32_t>& points) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            point = (point << 6) | (next & 0x3F);
        }
        points.push_back(point);
        i += static_cast<size_t>(length);
    }
    return true;
}

std::string utf8Of(char32_t point) {
    std::string out;
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
    return out;
}

bool isUtf8(const std::string& codeset) {
    // The C locale's ASCII is read as UTF-8, of which it is a part.
    return EqualIgnoringCase(codeset, "UTF-8") || EqualIgnoringCase(codeset, "utf8") ||
           codeset == "ANSI_X3.4-1968" || codeset.empty();
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const unsigned char byte : bytes) out += utf8Of(ServerCharacterOf(byte));
    return out;
}

LocaleText::LocaleText(std::string codesetName) : codeset(std::move(codesetName)), utf8(isUtf8(codeset)) {}

LocaleText LocaleText::OfEnvironment() { return LocaleText(::nl_langinfo(CODESET)); }

bool LocaleText::ToServer(const std::string& argument, std::string& bytes, std::string& refused) const {
    std::string text = argument;
    if (!utf8 && !convert(codeset, "UTF-8", argument, text)) {
        refused = argument;
        return false;
    }
    std::vector<char32_t> points;
    if (!decodeUtf8(text, points)) {
        refused = argument;
        return false;
    }
    bytes.clear();
    for (const char32_t point : points) {
        const int byte = ServerByteOf(point);
        if (byte < 0) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(point));
            std::string shown = utf8Of(point);
            if (!utf8 && !convert("UTF-8", codeset + "//TRANSLIT", shown, shown)) shown = "?";
            refused = "\"" + shown + "\" (" + code + ")";
            return false;
        }
        bytes += static_cast<char>(byte);
    }
    return true;
}

std::string LocaleText::FromServer(const std::string& bytes) const { return FromUtf8(Cp1252ToUtf8(bytes)); }

std::string LocaleText::FromUtf8(const std::string& text) const {
    if (utf8) return text;
    std::string local;
    if (convert("UTF-8", codeset + "//TRANSLIT", text, local)) return local;
    std::string ascii;
    for (const char c : text) {
        // One "?" for each character: for its lead byte, none for the rest.
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) ascii += c;
        if (byte >= 0xC0) ascii += '?';
    }
    return ascii;
}
