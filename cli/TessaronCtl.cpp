#include "TessaronCtl.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>

#include "CtlCommands.h"
#include "StringTable.h"

namespace {

constexpr int kNoServerCharacter = 60023;
constexpr int kNotACommand = 60033;
constexpr int kDidYouMean = 60034;
constexpr int kInPlaceNeedsFile = 60035;

const char* const kFileHelp =
    "The file to work on: config (\\Config\\Config.ini, the default), scsi (\\Config\\scsi.ini), "
    "or the path of a file on the share such as Volumes/CDROM1/GUEST.USR";

struct Arguments {
    std::string share;
    std::string section;
    std::string key;
    std::string file;
    std::string typeSpec;
    std::string value;
    std::string comment;
    bool inPlace = false;
    bool json = false;
    bool yes = false;
    bool factoryDefaults = false;
};

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
bool refuseUnknownCommand(const CLI::App& app, const std::vector<std::string>& args, std::ostream& err) {
    if (args.empty() || args[0].empty() || args[0][0] == '-') return false;
    const std::string& word = args[0];
    std::string nearest;
    size_t best = 3;
    for (const CLI::App* command : app.get_subcommands({})) {
        if (command->get_name() == word) return false;
        const size_t distance = editDistance(word, command->get_name());
        if (distance < best) best = distance, nearest = command->get_name();
    }
    err << (nearest.empty() ? FormatString(kNotACommand, {word}) : FormatString(kDidYouMean, {word, nearest}))
        << "\nRun with --help for more information.\n";
    return true;
}

// The words after "set SHARE" that the parser left, SECTION KEY VALUE
// repeated: a word that looks like an option set does not have is refused,
// not taken as a section.
bool takeWords(const std::vector<std::string>& remaining, std::vector<std::string>& words, std::string& unknown) {
    for (const std::string& word : remaining) {
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            unknown = word;
            return false;
        }
        words.push_back(word);
    }
    return true;
}

// The usage line of set names the words that follow SHARE.
class SetFormatter : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App* app, std::string name) const override {
        std::string usage = CLI::Formatter::make_usage(app, std::move(name));
        while (!usage.empty() && usage.back() == '\n') usage.pop_back();
        return usage + " SECTION KEY VALUE [SECTION KEY VALUE ...]\n";
    }
};

// SHARE, and who connects to it when it is reached over SMB.
void addShare(CLI::App* command, Arguments& a, SmbCredentials& credentials) {
    command->add_option("SHARE", a.share, "The server's share")->required();
    command->add_option("--user", credentials.user,
                        "User name for a share reached over SMB (else TESSARON_SMB_USER, else guest); the "
                        "password comes from TESSARON_SMB_PASSWORD")
        ->type_name("USER");
}

void addFileOption(CLI::App* command, Arguments& a) {
    command->add_option("--file", a.file, kFileHelp)->type_name("config|scsi|PATH");
}

// A command that reads the share and prints what it finds, as text or JSON.
CLI::App* addReader(CLI::App& app, const char* name, const char* help, const char* jsonHelp, Arguments& a,
                    SmbCredentials& credentials) {
    CLI::App* command = app.add_subcommand(name, help);
    addShare(command, a, credentials);
    command->add_flag("--json", a.json, jsonHelp);
    return command;
}

struct Commands {
    CLI::App *identify, *info, *stats, *log, *get, *format, *describe, *check, *set, *restart, *volumes, *drives;
};

// The commands and their arguments, in the order --help lists them.
Commands defineCommands(CLI::App& app, Arguments& a, SmbCredentials& credentials) {
    Commands c{};
    c.identify = addReader(app, "identify", "Show product, software version, kind and serial number",
                           "Print a JSON object", a, credentials);
    c.info = addReader(app, "info", "Show serial number, software version, kind, names and addresses",
                       "Print a JSON object", a, credentials);
    c.stats = addReader(app, "stats", "Print the server's statistics", "Print a JSON array of the lines", a, credentials);
    c.log = addReader(app, "log", "Print the server's event log", "Print a JSON array of the lines", a, credentials);

    c.get = app.add_subcommand("get", "Print the value of one parameter");
    addShare(c.get, a, credentials);
    c.get->add_option("SECTION", a.section, "Section name; \"\" for the lines before the first section")->required();
    c.get->add_option("KEY", a.key, "Parameter key")->required();
    addFileOption(c.get, a);

    c.format = app.add_subcommand("format", "Print a parameter file in its canonical written form");
    c.format->add_option("FILE", a.file, "The parameter file, or - for standard input")->required();
    c.format->add_flag("--in-place", a.inPlace, "Rewrite the file itself in that form");

    c.describe = addReader(app, "describe", "List every parameter with its name, type and check",
                           "Print a JSON array of objects", a, credentials);
    addFileOption(c.describe, a);

    c.check = app.add_subcommand("check", "Check a value as a configuration page would take it");
    c.check->add_option("SPEC", a.typeSpec, "Type string, e.g. \"{Type Edit} {DDV IP}\"")->required();
    c.check->add_option("VALUE", a.value, "The text typed")->required();
    c.check->add_option("--comment", a.comment, "The parameter's comment (choices, \"Cannot be changed\")");

    c.set = app.add_subcommand("set", "Change parameters and have the server confirm them");
    addShare(c.set, a, credentials);
    // The assignments are taken as the words they are, after the options are
    // parsed: a value such as "[Server]" is a value, not a list to unpack.
    c.set->allow_extras();
    c.set->formatter(std::make_shared<SetFormatter>());
    c.set->footer("SECTION KEY VALUE [SECTION KEY VALUE ...]: one or more parameters with their new values; "
                  "after --, words beginning with - are taken as such words too");
    addFileOption(c.set, a);
    c.set->add_flag("--yes", a.yes, "Confirm a restart or factory-defaults request");

    c.restart = app.add_subcommand("restart", "Ask the server to restart");
    addShare(c.restart, a, credentials);
    c.restart->add_flag("--factory-defaults", a.factoryDefaults, "Return to factory settings as well");
    c.restart->add_flag("--yes", a.yes, "Confirm the request");

    c.volumes = addReader(app, "volumes", "List the volume rights files (as --file takes them)",
                          "Print a JSON array of objects", a, credentials);
    c.drives = addReader(app, "drives", "List the SCSI drives of scsi.ini with their drive names",
                         "Print a JSON array of objects", a, credentials);
    return c;
}

// Parses args into a and (set) words; false after the usage message, help or
// version, with the exit code.
bool parseArguments(CLI::App& app, const Commands& c, const std::vector<std::string>& args, Arguments& a,
                    std::vector<std::string>& words, std::ostream& out, std::ostream& err, int& code) {
    if (refuseUnknownCommand(app, args, err)) return code = ExitUsage, false;
    // "--" ends the options of set: the words after it are taken as they
    // are, also when they begin with "-".
    std::vector<std::string> parsed = args, afterOptions;
    if (!args.empty() && args[0] == c.set->get_name()) {
        const auto end = std::find(args.begin(), args.end(), std::string("--"));
        if (end != args.end()) {
            afterOptions.assign(end + 1, args.end());
            parsed.assign(args.begin(), end);
        }
    }
    try {
        app.parse(std::vector<std::string>(parsed.rbegin(), parsed.rend()));
        std::string unknown;
        if (*c.set && !takeWords(c.set->remaining(), words, unknown)) throw CLI::ExtrasError(c.set->get_name(), {unknown});
        words.insert(words.end(), afterOptions.begin(), afterOptions.end());
        if (*c.format && a.inPlace && a.file == "-") throw CLI::ValidationError(LoadString(kInPlaceNeedsFile));
    } catch (const CLI::ParseError& error) {
        code = app.exit(error, out, err) == 0 ? ExitDone : ExitUsage;
        return false;
    }
    return true;
}

}  // namespace

int RunTessaronCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const LocaleText& text,
                   std::istream* in) {
    CLI::App app{"Command-line companion of QUOR Tessaron Configuration: reads and changes the settings of a "
                 "QUOR Tessaron server through its file share.\n"
                 "SHARE is the share's folder, or //host/share, \\\\host\\share or smb://host[:port]/share: "
                 "through this computer's mount of it, or straight over SMB when nothing has mounted it.",
                 "tessaron-ctl"};
    app.set_version_flag("--version", "tessaron-ctl 1.00");
    app.require_subcommand(1);
    Arguments a;
    SmbCredentials credentials = CredentialsFromEnvironment();
    const Commands c = defineCommands(app, a, credentials);
    std::vector<std::string> words;
    int code = ExitDone;
    if (!parseArguments(app, c, args, a, words, out, err, code)) return code;

    Console console{out, err, text, credentials};
    console.in = in;
    // Names and values are the server's text: turned into its bytes here,
    // once, for every command; paths and options stay as given.
    for (std::string* argument : {&a.section, &a.key, &a.typeSpec, &a.value, &a.comment}) {
        if (!toServer(console, *argument)) return ExitNotFoundOrInvalid;
    }
    for (std::string& word : words) {
        if (!toServer(console, word)) return ExitNotFoundOrInvalid;
    }
    if (*c.identify) return IdentifyCommand(console, a.share, a.json);
    if (*c.info) return InfoCommand(console, a.share, a.json);
    if (*c.stats) return ReportCommand(console, a.share, true, a.json);
    if (*c.log) return ReportCommand(console, a.share, false, a.json);
    if (*c.get) return GetCommand(console, a.share, a.section, a.key, a.file);
    if (*c.format) return FormatCommand(console, a.file, a.inPlace);
    if (*c.describe) return DescribeCommand(console, a.share, a.file, a.json);
    if (*c.check) return CheckCommand(console, a.typeSpec, a.value, a.comment);
    if (*c.set) return SetCommand(console, a.share, a.file, a.yes, words);
    if (*c.volumes) return VolumesCommand(console, a.share, a.json);
    if (*c.drives) return DrivesCommand(console, a.share, a.json);
    return RestartCommand(console, a.share, a.factoryDefaults, a.yes);
}
