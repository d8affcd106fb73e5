#include "TessaronCtl.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "CtlCommands.h"
#include "StringTable.h"

namespace {

constexpr int kNoServerCharacter = 60023;

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

}  // namespace

int RunTessaronCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const LocaleText& text) {
    CLI::App app{"Command-line companion of QUOR Tessaron Configuration: reads and changes the settings of a "
                 "QUOR Tessaron server through its file share.\n"
                 "SHARE is the share's folder, or //host/share, \\\\host\\share or smb://host[:port]/share: "
                 "through this computer's mount of it, or straight over SMB when nothing has mounted it.",
                 "tessaron-ctl"};
    app.set_version_flag("--version", "tessaron-ctl 1.00");
    app.require_subcommand(1);
    Arguments a;
    SmbCredentials credentials = CredentialsFromEnvironment();

    CLI::App* identify = app.add_subcommand("identify", "Show product, software version, kind and serial number");
    addShare(identify, a, credentials);

    CLI::App* info = app.add_subcommand("info", "Show serial number, software version, kind, names and addresses");
    info->add_option("SHARE", a.share, "The server's share")->required();
    info->add_flag("--json", a.json, "Print a JSON object");

    CLI::App* stats = app.add_subcommand("stats", "Print the server's statistics");
    stats->add_option("SHARE", a.share, "The server's share")->required();

    CLI::App* log = app.add_subcommand("log", "Print the server's event log");
    log->add_option("SHARE", a.share, "The server's share")->required();

    CLI::App* get = app.add_subcommand("get", "Print the value of one parameter");
    addShare(get, a, credentials);
    get->add_option("SECTION", a.section, "Section name; \"\" for the lines before the first section")->required();
    get->add_option("KEY", a.key, "Parameter key")->required();
    addFileOption(get, a);

    CLI::App* format = app.add_subcommand("format", "Print a parameter file in its canonical written form");
    format->add_option("FILE", a.file, "The parameter file")->required();
    format->add_flag("--in-place", a.inPlace, "Rewrite the file itself in that form");

    CLI::App* describe = app.add_subcommand("describe", "List every parameter with its name, type and check");
    addShare(describe, a, credentials);
    addFileOption(describe, a);
    describe->add_flag("--json", a.json, "Print a JSON array of objects");

    CLI::App* check = app.add_subcommand("check", "Check a value as a configuration page would take it");
    check->add_option("SPEC", a.typeSpec, "Type string, e.g. \"{Type Edit} {DDV IP}\"")->required();
    check->add_option("VALUE", a.value, "The text typed")->required();
    check->add_option("--comment", a.comment, "The parameter's comment (choices, \"Cannot be changed\")");

    CLI::App* set = app.add_subcommand("set", "Change parameters and have the server confirm them");
    addShare(set, a, credentials);
    // The assignments are taken as the words they are, after the options are
    // parsed: a value such as "[Server]" is a value, not a list to unpack.
    set->allow_extras();
    set->footer("SECTION KEY VALUE [SECTION KEY VALUE ...]: one or more parameters with their new values");
    addFileOption(set, a);
    set->add_flag("--yes", a.yes, "Confirm a restart or factory-defaults request");

    CLI::App* restart = app.add_subcommand("restart", "Ask the server to restart");
    addShare(restart, a, credentials);
    restart->add_flag("--factory-defaults", a.factoryDefaults, "Return to factory settings as well");
    restart->add_flag("--yes", a.yes, "Confirm the request");

    CLI::App* volumes = app.add_subcommand("volumes", "List the volume rights files (as --file takes them)");
    addShare(volumes, a, credentials);
    volumes->add_flag("--json", a.json, "Print a JSON array of objects");

    CLI::App* drives = app.add_subcommand("drives", "List the SCSI drives of scsi.ini with their drive names");
    addShare(drives, a, credentials);
    drives->add_flag("--json", a.json, "Print a JSON array of objects");

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error, out, err);
        return code == 0 ? ExitDone : ExitUsage;
    }

    Console console{out, err, text, credentials};
    // Names and values are the server's text: turned into its bytes here,
    // once, for every command; paths and options stay as given.
    std::vector<std::string> words = *set ? set->remaining() : std::vector<std::string>{};
    for (std::string* argument : {&a.section, &a.key, &a.typeSpec, &a.value, &a.comment}) {
        if (!toServer(console, *argument)) return ExitNotFoundOrInvalid;
    }
    for (std::string& word : words) {
        if (!toServer(console, word)) return ExitNotFoundOrInvalid;
    }
    if (*identify) return IdentifyCommand(console, a.share);
    if (*info) return InfoCommand(console, a.share, a.json);
    if (*stats) return ReportCommand(console, a.share, true);
    if (*log) return ReportCommand(console, a.share, false);
    if (*get) return GetCommand(console, a.share, a.section, a.key, a.file);
    if (*format) return FormatCommand(console, a.file, a.inPlace);
    if (*describe) return DescribeCommand(console, a.share, a.file, a.json);
    if (*check) return CheckCommand(console, a.typeSpec, a.value, a.comment);
    if (*set) return SetCommand(console, a.share, a.file, a.yes, words);
    if (*volumes) return VolumesCommand(console, a.share, a.json);
    if (*drives) return DrivesCommand(console, a.share, a.json);
    return RestartCommand(console, a.share, a.factoryDefaults, a.yes);
}
