#pragma once

#include <string>
#include <vector>

#include "Share.h"

// Which server the program works on, and what kind of unit it is.

// The program's command line, as far as the program reads it.
struct CommandLine {
    std::string serverPath;  // first argument that is not a flag; empty when none
    bool help = false;       // --help was given
    bool version = false;    // --version was given
};

// Arguments beginning with "-" are flags and are ignored, except "--help" and
// "--version". An argument beginning with "/" is a path here, not a flag. The
// first remaining argument is the server path, unchanged; later ones are
// ignored. args holds the arguments without the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The supported software versions, separated by single blanks. A version is
// supported when it occurs anywhere in this text.
extern const char* const kSupportedVersions;

// What the first line of the configuration file says about the server.
struct ServerIdentity {
    bool lineFound = false;         // the file held at least one line
    bool accepted = false;          // a supported unit (always true for an empty file)
    std::string productTitle;       // set only for an accepted first line
    std::string version;            // "Unknown" when the line names none; set when accepted
    int serverKind = 0;             // 0 CD-ROM server, 1 HD server; set only with productTitle
    bool versionSupported = false;  // false: the caller warns with message 1003
};

// Classifies a first line. lineFound false stands for a file without any line:
// accepted, version "Unknown", no product title or kind. A line that is not
// accepted leaves every other field at its default.
ServerIdentity IdentifyFirstLine(bool lineFound, const std::string& firstLine);

// Reads the first line of \Config\Config.ini on the share and classifies
// it. Raises FileException when the file cannot be opened.
ServerIdentity IdentifyServer(const Share& share);

// The version written after the first upper-case "V" of the line, up to the
// next blank; "Unknown" when there is no "V" or no blank after it.
std::string VersionOfLine(const std::string& firstLine);

// True when version occurs in kSupportedVersions.
bool IsSupportedVersion(const std::string& version);

// The serial number of the first line: the rest of the line after "S/N:",
// trailing white space removed; "Unknown" when the line holds no "S/N:".
std::string SerialNumber(const std::string& firstLine);
