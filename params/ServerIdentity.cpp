#include "ServerIdentity.h"

#include "ShareLocation.h"

#include "ServerFiles.h"
#include "StringTable.h"
#include "TextRules.h"

const char* const kSupportedVersions = "3.00 3.01 3.03 3.04 3.06 3.07 4.00";

namespace {

bool contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

// "JQ " and the model word: the text from three characters after the first
// "JQ" (the letters and the one character after them are skipped) up to the
// next blank. A line that ends within those three characters has no word.
std::string jqProductTitle(const std::string& line) {
    const size_t start = line.find("JQ") + 3;
    if (start >= line.size()) return "JQ ";
    const size_t end = line.find(' ', start);
    return "JQ " + line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    bool pathTaken = false;
    for (const std::string& arg : args) {
        if (arg == "--help") {
            result.help = true;
        } else if (arg == "--version") {
            result.version = true;
        } else if (!arg.empty() && arg[0] == '-') {
            continue;
        } else if (!pathTaken) {
            result.serverPath = FromFileAddress(arg);
            pathTaken = true;
        }
    }
    return result;
}

std::string VersionOfLine(const std::string& firstLine) {
    const size_t v = firstLine.find('V');
    if (v == std::string::npos) return "Unknown";
    const size_t blank = firstLine.find(' ', v);
    if (blank == std::string::npos) return "Unknown";
    return firstLine.substr(v + 1, blank - v - 1);
}

bool IsSupportedVersion(const std::string& version) {
    return std::string(kSupportedVersions).find(version) != std::string::npos;
}

ServerIdentity IdentifyFirstLine(bool lineFound, const std::string& firstLine) {
    ServerIdentity identity;
    identity.lineFound = lineFound;
    if (!lineFound) {
        identity.accepted = true;
        identity.version = "Unknown";
        identity.versionSupported = IsSupportedVersion(identity.version);
        return identity;
    }
    const bool isTessaronCd = contains(firstLine, "Tessaron") && contains(firstLine, "CD");
    if (!isTessaronCd && !contains(firstLine, "JQ")) return identity;

    identity.accepted = true;
    if (contains(firstLine, "CD")) {
        identity.productTitle = LoadString(141);
        identity.serverKind = 0;
    } else if (contains(firstLine, "HD")) {
        identity.productTitle = LoadString(142);
        identity.serverKind = 1;
    } else {
        identity.productTitle = jqProductTitle(firstLine);
        identity.serverKind = 0;
    }
    identity.version = VersionOfLine(firstLine);
    identity.versionSupported = IsSupportedVersion(identity.version);
    return identity;
}

ServerIdentity IdentifyServer(const Share& share) {
    std::string firstLine;
    const bool lineFound = share.ReadFirstLine(share.PathOf(ServerFile::Configuration), firstLine);
    return IdentifyFirstLine(lineFound, firstLine);
}

std::string SerialNumber(const std::string& firstLine) {
    const size_t mark = firstLine.find("S/N:");
    if (mark == std::string::npos) return "Unknown";
    std::string serial = firstLine.substr(mark + 4);
    serial.erase(serial.find_last_not_of(WhiteSpace) + 1);
    return serial;
}
