#include "TessaronCtl.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>

#include "CtlCommand.h"
#include "ShareLocation.h"
#include "StringTable.h"

namespace {

constexpr int kNoServerCharacter = 60023;
constexpr int kNotACommand = 60033;
constexpr int kDidYouMean = 60034;

const char* const kFileHelp =
    "The file to work on: config (\\Config\\Config.ini, the default), scsi (\\Config\\scsi.ini), "
    "or the path of a file on the share such as Volumes/CDROM1/GUEST.USR";

// An argument in the server's bytes; false after saying which character the
// server cannot store.
bool toServer(const Console& console, std::string& argument) {
    std::string bytes;
    std::string refused;
    if (!console.text.ToServer(argument, bytes, refused)) {
        console.err << FormatString(kNoServerCharacter, {refused}) << '\n';
        return false;
    }
    argument = std::move(bytes);
    return true;
}

// Edits that turn one word into the other, a swap of neighbours counting as one.
size_t editDistance(const std::string& from, const std::string& to) {
    std::vector<std::vector<size_t>> d(from.size() + 1, std::vector<size_t>(to.size() + 1));
    for (size_t i = 0; i <= from.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= to.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= from.size(); ++i) {
        for (size_t j = 1; j <= to.size(); ++j) {
            const size_t change = from[i - 1] == to[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && from[i - 1] == to[j - 2] && from[i - 2] == to[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[from.size()][to.size()];
}

// A first word that names no command: says so, with the nearest command
// when one is within two edits. False when the word is a command (or an
// option, which the parser judges).
bool refuseUnknownCommand(const std::vector<std::string>& args, std::ostream& err) {
    if (args.empty() || args[0].empty() || args[0][0] == '-') return false;
    const std::string& word = args[0];
    std::string nearest;
    size_t best = 3;
    for (const CommandRow& row : CommandTable()) {
        if (row.name == word) return false;
        const size_t distance = editDistance(word, row.name);
        if (distance < best) best = distance, nearest = row.name;
    }
    err << (nearest.empty() ? FormatString(kNotACommand, {word}) : FormatString(kDidYouMean, {word, nearest}))
        << "\nRun with --help for more information.\n";
    return true;
}

// One command of the table as the parser knows it.
struct Defined {
    const CommandRow* row;
    CLI::App* parsed;
    std::unique_ptr<CtlCommand> command;
};

// The share options a row names, offered the same way by every command that
// takes them, before its own arguments.
void addShareOptions(CLI::App& command, const CommandRow& row, ShareOptions& options, SmbCredentials& credentials) {
    if (row.options & TakesShare) command.add_option("SHARE", options.share, "The server's share")->required();
    if (row.options & (TakesShare | TakesUser)) {
        command
            .add_option("--user", credentials.user,
                        "User name for a share reached over SMB (else TESSARON_SMB_USER, else guest); the "
                        "password comes from TESSARON_SMB_PASSWORD")
            ->type_name("USER");
    }
    if (row.options & TakesJson) command.add_flag("--json", options.json, row.jsonHelp);
    if (row.options & TakesFile) command.add_option("--file", options.file, kFileHelp)->type_name("config|scsi|PATH");
}

// Every command of the table with its arguments, in the order --help lists them.
std::vector<Defined> defineCommands(CLI::App& app, ShareOptions& options, SmbCredentials& credentials) {
    std::vector<Defined> commands;
    for (const CommandRow& row : CommandTable()) {
        CLI::App* command = app.add_subcommand(row.name, row.help);
        addShareOptions(*command, row, options, credentials);
        commands.push_back({&row, command, row.make()});
        commands.back().command->Define(*command);
    }
    return commands;
}

// Parses args; the command chosen, or null after the usage message, help or
// version, with the exit code.
Defined* parseArguments(CLI::App& app, std::vector<Defined>& commands, const std::vector<std::string>& args,
                        const Console& console, int& code) {
    if (refuseUnknownCommand(args, console.err)) return code = ExitUsage, nullptr;
    // "--" ends the options of a command whose row says so: the words after
    // it are taken as they are, also when they begin with "-".
    std::vector<std::string> parsed = args, afterOptions;
    const auto named = std::find_if(commands.begin(), commands.end(),
                                    [&](const Defined& d) { return !args.empty() && args[0] == d.row->name; });
    if (named != commands.end() && (named->row->options & EndsOptionsAtDashes)) {
        const auto end = std::find(args.begin(), args.end(), std::string("--"));
        if (end != args.end()) {
            afterOptions.assign(end + 1, args.end());
            parsed.assign(args.begin(), end);
        }
    }
    try {
        app.parse(std::vector<std::string>(parsed.rbegin(), parsed.rend()));
        for (Defined& d : commands) {
            if (!*d.parsed) continue;
            d.command->Parsed(*d.parsed, std::move(afterOptions));
            return &d;
        }
    } catch (const CLI::ParseError& error) {
        code = app.exit(error, console.out, console.err) == 0 ? ExitDone : ExitUsage;
    }
    return nullptr;
}

}  // namespace

int RunTessaronCtl(const std::vector<std::string>& args, Console console) {
    CLI::App app{"Command-line companion of QUOR Tessaron Configuration: reads and changes the settings of a "
                 "QUOR Tessaron server through its file share.\n"
                 "SHARE is the share's folder, or //host/share, \\\\host\\share or smb://host[:port]/share: "
                 "through this computer's mount of it, or straight over SMB when nothing has mounted it.",
                 "tessaron-ctl"};
    app.set_version_flag("--version", "tessaron-ctl 1.00");
    app.require_subcommand(1);
    ShareOptions options;
    console.credentials = CredentialsFromEnvironment();
    std::vector<Defined> commands = defineCommands(app, options, console.credentials);
    int code = ExitDone;
    const Defined* chosen = parseArguments(app, commands, args, console, code);
    if (!chosen) return code;
    // Names and values are the server's text: turned into its bytes here,
    // once, for every command; paths and options stay as given.
    for (std::string* argument : chosen->command->ServerText()) {
        if (!toServer(console, *argument)) return ExitNotFoundOrInvalid;
    }
    options.share = FromFileAddress(options.share);
    console.share = options.share;
    return chosen->command->Run(console, options);
}

int RunTessaronCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const LocaleText& text,
                   std::istream* in) {
    Console console{out, err, text};
    console.in = in;
    return RunTessaronCtl(args, console);
}
