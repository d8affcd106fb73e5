#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "Console.h"
#include "CtlCommand.h"
#include "Share.h"
#include "ValueEntry.h"

class ParameterHandler;
struct ServerReport;
struct TargetFile;

// What the commands share: reaching the share and its files, naming what a
// file lacks, and the forms of their output.

// String-table messages that several commands say.
inline constexpr int kUnsupportedVersion = 1003;
inline constexpr int kNotSupportedUnit = 1018;
inline constexpr int kNoParameterFile = 1021;
inline constexpr int kConfirmWithYes = 60017;
inline constexpr int kPendingFactoryReset = 60019;
inline constexpr int kNotAParameterFile = 60036;

// The share given on the command line; null after the message when it names
// a folder (or a mounted network share) that does not exist or is not a
// server's share. A network share nothing has mounted is reached over SMB.
SharePtr OpenShare(const Console& console, const std::string& share);

// Loads the file --file names; else the exit code, after message failureId
// (or the refusal of a file that holds no parameters). forUpdate: the file
// is written at once, so it is opened once for both where the share
// allows (ParameterHandler::LoadForUpdate).
int LoadTarget(const Console& console, const ShareOptions& options, int failureId, ParameterHandler& handler,
               TargetFile& target, bool forUpdate = false);

// The first line of the configuration file, as IdentifyFirstLine takes it;
// a file without any byte is said to be empty (with the restore the history
// offers for it). Raises FileException.
bool ReadFirstLine(const Console& console, const Share& share, std::string& line);

// The index of the section of that name, or -1.
int SectionIndex(const ParameterHandler& handler, const std::string& name);
// "[SECTION] KEY", or KEY alone in the unnamed section.
std::string ParameterLabel(const std::string& section, const std::string& key);
// Says that the file lacks the section, or the key of section s (-1: the
// section itself), naming the file and what it has in another letter case.
void SayMissing(const Console& console, const ParameterHandler& handler, const TargetFile& target,
                const std::string& section, int s, const std::string& key);

// TakeEnteredValue, its messages said in the terminal's encoding.
bool TakeEntered(const Console& console, const Parameter& loaded, const std::string& text, EntryPurpose purpose,
                 std::string& value);

// A JSON string of UTF-8 text, escaped.
void PrintJsonText(std::ostream& out, const std::string& text);
// A JSON string of server text (bytes read as Windows-1252), escaped.
void PrintJsonString(std::ostream& out, const std::string& bytes);

// Fields of a server, as text ("name: value" lines) or one JSON object.
struct Field {
    std::string name;
    std::string value;
    bool number = false;
};
void PrintFields(const Console& console, const std::vector<Field>& fields, bool json);

// Lines of a listing: "LINE<tab>NAME" per entry, each field with its control
// characters escaped, or a JSON array of objects {"line": LINE, key: NAME}.
// The entries are UTF-8 text.
void PrintListing(const Console& console, const std::vector<std::pair<std::string, std::string>>& entries, bool json,
                  const char* key);

// Prints a report of the server line by line, or as a JSON array of lines.
int PrintReport(const Console& console, const ShareOptions& options, const ServerReport& report);
