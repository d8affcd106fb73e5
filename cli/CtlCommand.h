#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Console.h"

namespace CLI {
class App;
}

// The share options: what every command that takes them is given the same way.
struct ShareOptions {
    std::string share;  // SHARE: a folder, or a network share (see OpenServerShare)
    std::string file;   // --file: which file of the share (see ChooseFile)
    bool json = false;  // --json
};

// One command of tessaron-ctl. Each run makes one of every command, offers
// each the share options its row names, lets it add its own arguments, and
// runs the one the command line chose.
class CtlCommand {
public:
    virtual ~CtlCommand() = default;
    // Adds the command's own arguments, after its share options.
    virtual void Define(CLI::App& command) { (void)command; }
    // After a parse that chose this command: refuses what the parser cannot
    // judge by throwing a CLI::ParseError. afterOptions: the words after "--"
    // of a command whose row says its options end there.
    virtual void Parsed(const CLI::App& command, std::vector<std::string> afterOptions) {
        (void)command, (void)afterOptions;
    }
    // The arguments that are the server's text (names, values), in order;
    // they are turned into its bytes before Run. Paths and options stay as
    // given.
    virtual std::vector<std::string*> ServerText() { return {}; }
    // Does the work; returns the exit code.
    virtual int Run(const Console& console, const ShareOptions& options) = 0;
};

// Which share options a command takes, and how it ends its options.
enum CommandOption : unsigned {
    TakesShare = 1,           // SHARE, and --user for who connects to it
    TakesJson = 2,            // --json
    TakesFile = 4,            // --file
    EndsOptionsAtDashes = 8,  // the parser sees nothing after "--"; Parsed gets those words
    TakesUser = 16,           // --user alone, for a command that finds its shares itself
};

// One row of the command table.
struct CommandRow {
    const char* name;
    const char* help;
    unsigned options;      // CommandOption flags
    const char* jsonHelp;  // what --json prints, with TakesJson
    std::unique_ptr<CtlCommand> (*make)();
};

// Every command, in the order --help lists them.
std::span<const CommandRow> CommandTable();
