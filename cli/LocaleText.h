#pragma once

#include <string>

// Text between the command line, which speaks the locale's encoding, and the
// server, whose files hold Windows-1252 bytes: the same lossless mapping the
// windows use. Arguments are turned into the server's bytes (a character the
// server cannot store is refused); server text is printed in the locale's
// encoding. The plain C locale is taken as UTF-8, which it is a part of.
class LocaleText {
public:
    // codeset: the locale's encoding, as nl_langinfo(CODESET) names it.
    explicit LocaleText(std::string codeset = "UTF-8");
    // The encoding of the locale the environment chose (after setlocale).
    static LocaleText OfEnvironment();

    // The server's bytes for an argument. False when a character has no byte
    // there or the argument is not valid text of the locale; refused then
    // names that character (in the locale's encoding, with its code point).
    bool ToServer(const std::string& argument, std::string& bytes, std::string& refused) const;
    // Server text (or a text of the program's string table) as the locale
    // writes it; a character the locale cannot write becomes "?".
    std::string FromServer(const std::string& bytes) const;
    // UTF-8 text (names as the file system gives them, see ShownText.h) as
    // the locale writes it, the same way.
    std::string FromUtf8(const std::string& text) const;

private:
    std::string codeset;
    bool utf8;
};

// Each byte as the character Windows-1252 gives it, in UTF-8. The five bytes
// that code page leaves undefined become the C1 control of the same number,
// so the mapping loses nothing.
std::string Cp1252ToUtf8(const std::string& bytes);
