#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "LocaleText.h"
#include "SmbShare.h"

class StoreError;

// Exit codes of tessaron-ctl.
enum ExitCode : int {
    ExitDone = 0,
    ExitNotFoundOrInvalid = 1,  // no such section or key, or a value that is not taken
    ExitFileError = 2,          // a server file could not be opened or written
    ExitNotSupported = 3,       // not a supported unit
    ExitNotTaken = 4,           // the server did not take the values
    ExitUsage = 64,
};

// Where a command writes: its result to out, the program's messages to err.
struct Console {
    std::ostream& out;
    std::ostream& err;
    // The encoding of the terminal: server text is printed in it.
    LocaleText text = LocaleText();
    // Who connects to a share reached straight over SMB.
    SmbCredentials credentials = {};
    // The SHARE the command was given, as given ("" for a command without
    // one): where its writes are recorded and its restores offered.
    std::string share = {};
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
    // followed by what failed and why, and returns code. A file found empty
    // is followed by the restore the history offers for it.
    int Failure(int stringId, const StoreError& error, int code) const;
    // Writes server text to out, in the terminal's encoding.
    void Print(const std::string& serverText) const;
    // Writes UTF-8 text to out, in the terminal's encoding.
    void PrintUtf8(const std::string& text) const;
};
