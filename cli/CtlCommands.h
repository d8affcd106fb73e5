#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "LocaleText.h"
#include "SmbShare.h"

class StoreError;

// The commands of tessaron-ctl. Each writes its result to out and the
// program's messages to err, and returns the exit code.

enum ExitCode : int {
    ExitDone = 0,
    ExitNotFoundOrInvalid = 1,  // no such section or key, or a value that is not taken
    ExitFileError = 2,          // a server file could not be opened or written
    ExitNotSupported = 3,       // not a supported unit
    ExitNotTaken = 4,           // the server did not take the values
    ExitUsage = 64,
};

struct Console {
    std::ostream& out;
    std::ostream& err;
    // The encoding of the terminal: server text is printed in it.
    LocaleText text = LocaleText();
    // Who connects to a share reached straight over SMB.
    SmbCredentials credentials = {};
    // Run just before a write, given the file's path: lets tests play
    // another program that changes the file meanwhile.
    std::function<void(const std::string&)> beforeWrite = {};
    // Standard input, for "format -"; none: empty.
    std::istream* in = nullptr;

    // Writes the string-table text of stringId to err, in the command line's
    // words (CommandLineMessageId), and returns code.
    int Message(int stringId, int code) const;
    // Writes a message (program or server text) and a line end to err.
    void Say(const std::string& message) const;
    // Writes a message of UTF-8 text (with names as ShownName shows them)
    // and a line end to err.
    void SayUtf8(const std::string& message) const;
    // Writes message stringId for an action that failed on a server file,
    // followed by what failed and why, and returns code.
    int Failure(int stringId, const StoreError& error, int code) const;
    // Writes server text to out, in the terminal's encoding.
    void Print(const std::string& serverText) const;
    // Writes UTF-8 text to out, in the terminal's encoding.
    void PrintUtf8(const std::string& text) const;
};

int IdentifyCommand(const Console& console, const std::string& share, bool json);
// What the General page of the management shows.
int InfoCommand(const Console& console, const std::string& share, bool json);
// The statistics (true) or the event log, line by line.
int ReportCommand(const Console& console, const std::string& share, bool statistics, bool json);
int GetCommand(const Console& console, const std::string& share, const std::string& section, const std::string& key,
               const std::string& file);
// file: a path of this computer (relative to the working directory), or "-"
// for standard input (printed only).
int FormatCommand(const Console& console, const std::string& file, bool inPlace);
int DescribeCommand(const Console& console, const std::string& share, const std::string& file, bool json);
// Text of SECTION, KEY, VALUE and the like comes in the server's bytes (see
// LocaleText::ToServer); paths and options as given.
int CheckCommand(const Console& console, const std::string& typeSpec, const std::string& value,
                 const std::string& comment);
// assignments: SECTION KEY VALUE, repeated.
int SetCommand(const Console& console, const std::string& share, const std::string& file, bool yes,
               const std::vector<std::string>& assignments);
int RestartCommand(const Console& console, const std::string& share, bool factoryDefaults, bool yes);
// The volume rights files and the SCSI drives, as their pages list them.
int VolumesCommand(const Console& console, const std::string& share, bool json);
int DrivesCommand(const Console& console, const std::string& share, bool json);
