#include "ShownText.h"

namespace {

void appendHex(std::string& out, unsigned char byte) {
    static const char digits[] = "0123456789abcdef";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

// A control character of one byte (below blank, or DEL), escaped.
void appendControl(std::string& out, unsigned char byte) {
    switch (byte) {
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    case '\t': out += "\\t"; break;
    default: appendHex(out, byte);
    }
}

bool isControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at the start of text, or 0: no
// overlong form, no surrogate, nothing above U+10FFFF.
size_t sequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    const auto second = static_cast<unsigned char>(text[1]);
    if (second < low || second > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[i]))) return 0;
    }
    return length;
}

}  // namespace

std::string NameText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const size_t length = sequenceLength(bytes);
        if (length == 0) {
            appendHex(out, static_cast<unsigned char>(bytes[0]));
            bytes.remove_prefix(1);
            continue;
        }
        out.append(bytes.substr(0, length));
        bytes.remove_prefix(length);
    }
    return out;
}

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c1 = byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F &&
                        isContinuation(static_cast<unsigned char>(text[i + 1]));
        if (c1) {
            appendHex(out, byte);
            appendHex(out, static_cast<unsigned char>(text[++i]));
        } else if (isControl(byte)) {
            appendControl(out, byte);
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

std::string ShownName(std::string_view bytes) { return EscapeControls(NameText(bytes)); }

std::string EscapeServerControls(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        // The bytes Windows-1252 leaves undefined stand for C1 controls.
        const bool c1 = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        if (c1) {
            appendHex(out, byte);
        } else if (isControl(byte)) {
            appendControl(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}
