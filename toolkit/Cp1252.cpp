#include "Cp1252.h"

#include "StringTable.h"

#include "ServerCharset.h"

QString FromServerText(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    for (size_t i = 0; i < bytes.size(); ++i) {
        text[static_cast<qsizetype>(i)] = QChar(ServerCharacterOf(static_cast<unsigned char>(bytes[i])));
    }
    return text;
}

std::optional<std::string> ToServerText(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        const int byte = ServerByteOf(c.unicode());
        if (byte < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

std::string ToServerTextLossy(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        const int byte = ServerByteOf(c.unicode());
        bytes.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return bytes;
}

QString LoadText(int stringId) { return FromServerText(LoadString(stringId)); }
