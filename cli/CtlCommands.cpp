#include "CtlCommands.h"

#include <filesystem>
#include <iterator>
#include <map>
#include <system_error>
#include <sstream>
#include <utility>

#include "Catalogue.h"
#include "ConsoleExchange.h"
#include "FileException.h"
#include "Listings.h"
#include "ParameterHandler.h"
#include "ServerFacts.h"
#include "ServerFiles.h"
#include "ServerIdentity.h"
#include "ServerReports.h"
#include "ServerRequests.h"
#include "ServerShare.h"
#include "ShareLocation.h"
#include "ShownText.h"
#include "SubmitPlan.h"
#include "StringIds.h"
#include "StringTable.h"
#include "TargetFile.h"
#include "TextRules.h"
#include "ValueEntry.h"

namespace {

// Messages of the string table used here.
constexpr int kRestartQuestion = 115;
constexpr int kFactoryDefaultsQuestion = 116;
constexpr int kUnsupportedVersion = 1003;
constexpr int kValuesMissing = 1008;
constexpr int kNotSupportedUnit = 1018;
constexpr int kNoParameterFile = 1021;
constexpr int kNoSection = 60011;
constexpr int kNoParameter = 60012;
constexpr int kAssignmentsInThrees = 60015;
constexpr int kConfirmWithYes = 60017;
constexpr int kValueNotTaken = 60018;
constexpr int kPendingFactoryReset = 60019;
constexpr int kConfirmFactoryReset = 60020;
constexpr int kGiveUser = 60024;
constexpr int kFolderMissing = 60021;
constexpr int kItHas = 60030;
constexpr int kNotAParameterFile = 60036;
constexpr int kKept = 60037;
constexpr int kNotKept = 60038;
constexpr int kNotKeptGone = 60039;

std::string sectionLabel(const std::string& section) { return "[" + section + "]"; }

std::string parameterLabel(const std::string& section, const std::string& key) {
    return section.empty() ? key : sectionLabel(section) + " " + key;
}

// The share given on the command line; null after the message when it
// names a folder (or a mounted network share) that does not exist or is
// not a server's share. A network share nothing has mounted is reached
// over SMB.
SharePtr openShare(const Console& console, const std::string& share) {
    const std::string folder = MountedFolderOf(share);
    if (!folder.empty()) {
        if (const int problem = ShareFolderProblem(folder)) {
            console.SayUtf8(FormatString(problem, {ShownName(share)}));
            return nullptr;
        }
    }
    return OpenServerShare(share, console.credentials);
}

// Loads the file a --file choice names; else the exit code, after message
// failureId (or the refusal of a file that holds no parameters).
int loadTarget(const Console& console, const std::string& share, const std::string& file, int failureId,
               ParameterHandler& handler, TargetFile& target) {
    const SharePtr opened = openShare(console, share);
    if (!opened) return ExitFileError;
    target = ChooseFile(file);
    try {
        if (IsServerOnlyFile(*opened, target.name)) {
            console.Say(FormatString(kNotAParameterFile, {target.shown}));
            return ExitNotFoundOrInvalid;
        }
        handler.Load(opened, target.name, CatalogueOf(target.kind));
        return ExitDone;
    } catch (const FileException& error) {
        return console.Failure(failureId, error, ExitFileError);
    }
}

int sectionIndex(const ParameterHandler& handler, const std::string& name) {
    for (int i = 0; i < handler.GetSectionCount(); ++i) {
        if (handler.SectionAt(i).GetName() == name) return i;
    }
    return -1;
}

// " It has [IP]." when the file has a section of that name in another
// letter case; else "".
std::string otherCaseSection(const ParameterHandler& handler, const std::string& name) {
    for (int i = 0; i < handler.GetSectionCount(); ++i) {
        const std::string& other = handler.SectionAt(i).GetName();
        if (EqualIgnoringCase(other, name)) return " " + FormatString(kItHas, {sectionLabel(other)});
    }
    return "";
}

// Says that the file lacks the section, or the key of section s (-1: the
// section itself), naming the file and what it has in another letter case.
void sayMissing(const Console& console, const ParameterHandler& handler, const TargetFile& target,
                const std::string& section, int s, const std::string& key) {
    if (s < 0) {
        console.Say(FormatString(kNoSection, {sectionLabel(section), target.shown}) + otherCaseSection(handler, section));
        return;
    }
    std::string has;
    const ParameterSection& found = handler.SectionAt(s);
    for (int p = 0; p < found.GetParameterCount() && has.empty(); ++p) {
        const std::string& other = found.ParameterAt(p).GetKey();
        if (EqualIgnoringCase(other, key)) has = " " + FormatString(kItHas, {parameterLabel(section, other)});
    }
    console.Say(FormatString(kNoParameter, {parameterLabel(section, key), target.shown}) + has);
}

std::string displayName(const Parameter& parameter) {
    const std::string name = parameter.GetNameId() != 0 ? LoadString(parameter.GetNameId()) : std::string();
    return name.empty() ? parameter.GetKey() : name;
}

// TakeEnteredValue, its messages said in the terminal's encoding.
bool takeEntered(const Console& console, const Parameter& loaded, const std::string& text, EntryPurpose purpose,
                 std::string& value) {
    std::ostringstream said;
    const bool taken = TakeEnteredValue(loaded, text, purpose, said, value);
    const std::string messages = said.str();
    if (!messages.empty()) console.err << console.text.FromServer(messages);
    return taken;
}

// A JSON string of UTF-8 text, escaped.
void printJsonText(std::ostream& out, const std::string& text) {
    out << '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (byte < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out << "\\u00" << hex[byte >> 4] << hex[byte & 0xF];
        } else {
            out << c;
        }
    }
    out << '"';
}

// A JSON string of server text (bytes read as Windows-1252), escaped.
void printJsonString(std::ostream& out, const std::string& bytes) { printJsonText(out, Cp1252ToUtf8(bytes)); }

// The first line of the configuration file, as IdentifyFirstLine takes it;
// a file without any byte is said to be empty. Raises FileException.
bool readFirstLine(const Console& console, const Share& share, std::string& line) {
    const std::string path = share.PathOf(ServerFile::Configuration);
    const bool found = share.ReadFirstLine(path, line);
    if (!found) console.SayUtf8(FormatString(StringId::EmptyFile, {ShownName(path)}));
    return found;
}

// One value to set: the parameter as the file has it, and as edited.
struct Edit {
    std::string section;
    Parameter edited;
    std::string loadedValue;
};

// Finds and takes every SECTION KEY VALUE (a later one of the same parameter
// wins); false after the message of the first one refused.
bool takeAssignments(const Console& console, const ParameterHandler& handler, const TargetFile& target,
                     const std::vector<std::string>& words, std::vector<Edit>& edits) {
    std::map<std::pair<int, int>, Edit> taken;
    for (size_t i = 0; i + 2 < words.size(); i += 3) {
        const std::string& section = words[i];
        const std::string& key = words[i + 1];
        const int s = sectionIndex(handler, section);
        const int p = s < 0 ? -1 : handler.SectionAt(s).IndexOf(key);
        if (p < 0) {
            sayMissing(console, handler, target, section, s, key);
            return false;
        }
        const Parameter& loaded = handler.SectionAt(s).ParameterAt(p);
        std::string value;
        if (!takeEntered(console, loaded, words[i + 2], EntryPurpose::Set, value)) {
            console.Say(FormatString(kValueNotTaken, {parameterLabel(section, key)}));
            return false;
        }
        Edit edit{section, loaded, loaded.GetValue()};
        edit.edited.SetValue(value);
        edit.edited.SetCheckState(1);  // a value given for a date or time is meant to be set
        taken.insert_or_assign({s, p}, std::move(edit));
    }
    for (auto& [where, edit] : taken) edits.push_back(std::move(edit));
    return true;
}

// A section name as the command line takes it: "" for the unnamed one.
std::string sectionWord(const std::string& section) { return section.empty() ? "\"\"" : section; }

// After values the server did not take: what became of each in the file
// as it is now.
int sayVerdicts(const Console& console, const SubmitPlan& plan, const ParameterHandler& now) {
    for (const SubmitPlan::Verdict& v : plan.Verdicts(now)) {
        const std::string section = sectionWord(v.section);
        console.Say(v.kept      ? FormatString(kKept, {section, v.key, v.sent})
                    : v.present ? FormatString(kNotKept, {section, v.key, v.now})
                                : FormatString(kNotKeptGone, {section, v.key}));
    }
    return ExitNotTaken;
}

// Fields of a server, as text ("name: value" lines) or one JSON object.
struct Field {
    std::string name;
    std::string value;
    bool number = false;
};

void printFields(const Console& console, const std::vector<Field>& fields, bool json) {
    if (!json) {
        for (const Field& field : fields) console.Print(field.name + ": " + field.value + "\n");
        return;
    }
    const char* separator = "{\n  ";
    for (const Field& field : fields) {
        console.out << separator << '"' << field.name << "\": ";
        if (field.number) {
            console.out << field.value;
        } else {
            printJsonString(console.out, field.value);
        }
        separator = ",\n  ";
    }
    console.out << "\n}\n";
}

}  // namespace

int Console::Message(int stringId, int code) const {
    Say(LoadString(CommandLineMessageId(stringId)));
    return code;
}

void Console::Say(const std::string& message) const { err << text.FromServer(message) << '\n'; }

void Console::SayUtf8(const std::string& message) const { err << text.FromUtf8(message) << '\n'; }

int Console::Failure(int stringId, const StoreError& error, int code) const {
    if (error.MessageId() != 0) Message(error.MessageId(), code);
    // The path and the system's reason come from the file system, in UTF-8.
    const std::string detail = ShownName(error.Detail());
    SayUtf8(LoadString(CommandLineMessageId(stringId)) + (detail.empty() ? std::string() : " (" + detail + ")"));
    if (IsAccessRefused(error)) Message(kGiveUser, code);
    return code;
}

void Console::Print(const std::string& serverText) const { out << text.FromServer(serverText); }

void Console::PrintUtf8(const std::string& utf8) const { out << text.FromUtf8(utf8); }

int IdentifyCommand(const Console& console, const std::string& share, bool json) {
    const SharePtr opened = openShare(console, share);
    if (!opened) return ExitFileError;
    std::string firstLine;
    bool lineFound = false;
    try {
        lineFound = readFirstLine(console, *opened, firstLine);
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    const ServerIdentity identity = IdentifyFirstLine(lineFound, firstLine);
    if (!identity.accepted) return console.Message(kNotSupportedUnit, ExitNotSupported);
    if (!identity.versionSupported) console.Message(kUnsupportedVersion, ExitDone);
    printFields(console,
                {{"product", identity.productTitle},
                 {"version", identity.version},
                 {"kind", std::to_string(identity.serverKind), true},
                 {"serial", SerialNumber(firstLine)}},
                json);
    return ExitDone;
}

int InfoCommand(const Console& console, const std::string& share, bool json) {
    const SharePtr opened = openShare(console, share);
    if (!opened) return ExitFileError;
    ServerFacts facts;
    ServerIdentity identity;
    try {
        identity = IdentifyServer(*opened);
        if (!identity.accepted) return console.Message(kNotSupportedUnit, ExitNotSupported);
        ReadServerFacts(opened, identity.version, facts);
    } catch (const StoreError& error) {
        return console.Failure(kValuesMissing, error, ExitFileError);
    }
    if (!identity.versionSupported) console.Message(kUnsupportedVersion, ExitDone);

    // Each fact shown, in the General page's order; a missing address is
    // left out.
    std::vector<Field> fields = {{"serial", facts.serialNumber},
                                 {"version", facts.softwareVersion},
                                 {"kind", std::to_string(identity.serverKind), true}};
    for (int a = 0; a < ServerFacts::AddressCount; ++a) {
        const auto address = static_cast<ServerFacts::Address>(a);
        if (facts.found[a]) fields.push_back({ParameterOf(address).name, facts.addresses[a]});
    }
    printFields(console, fields, json);
    return ExitDone;
}

int ReportCommand(const Console& console, const std::string& share, bool statistics, bool json) {
    const SharePtr opened = openShare(console, share);
    if (!opened) return ExitFileError;
    const ServerReport& report = statistics ? StatisticsReport : EventLogReport;
    try {
        if (!json) {
            // Printed piece by piece: a large report is held only as its bytes.
            StreamReport(*opened, report, [&](std::string_view piece) { console.Print(std::string(piece)); });
            return ExitDone;
        }
        const ReportText text = ReadReport(*opened, report);
        bool first = true;
        console.out << '[';
        text.ForEachLine([&](std::string_view line) {
            console.out << (first ? "\n  " : ",\n  ");
            first = false;
            printJsonString(console.out, std::string(line));
        });
        console.out << (first ? "]\n" : "\n]\n");
    } catch (const StoreError& error) {
        return console.Failure(report.unreadableMessage, error, ExitFileError);
    }
    return ExitDone;
}

int GetCommand(const Console& console, const std::string& share, const std::string& section, const std::string& key,
               const std::string& file) {
    ParameterHandler handler;
    TargetFile target;
    if (const int failed = loadTarget(console, share, file, kNoParameterFile, handler, target)) return failed;
    const int s = sectionIndex(handler, section);
    std::string value;
    if (s < 0 || !handler.SectionAt(s).GetValue(key, value)) {
        sayMissing(console, handler, target, section, s, key);
        return ExitNotFoundOrInvalid;
    }
    console.Print(value + "\n");
    return ExitDone;
}

int FormatCommand(const Console& console, const std::string& file, bool inPlace) {
    ParameterHandler handler;
    if (file == "-") {
        std::string text;
        if (console.in) text.assign(std::istreambuf_iterator<char>(*console.in), std::istreambuf_iterator<char>());
        handler.ReadText(text);
        CatalogueOf(Configuration).Apply(handler);
        console.out << handler.Format();
        return ExitDone;
    }
    // A file the user names on this computer, not a name from a share:
    // relative to the working directory.
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(file, failed);
    const std::string path = failed ? file : absolute.string();
    if (inPlace && IsServerOnlyLocalFile(path)) {
        console.Say(FormatString(kNotAParameterFile, {file}));
        return ExitNotFoundOrInvalid;
    }
    try {
        handler.Load(OpenLocalFiles(), path, CatalogueOf(KindOfPath(path)));
    } catch (const FileException& error) {
        return console.Failure(inPlace ? StringId::NoCommunication : kNoParameterFile, error, ExitFileError);
    }
    if (!inPlace) {
        console.out << handler.Format();
        return ExitDone;
    }
    try {
        handler.Write();
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    return ExitDone;
}

int DescribeCommand(const Console& console, const std::string& share, const std::string& file, bool json) {
    ParameterHandler handler;
    TargetFile target;
    if (const int failed = loadTarget(console, share, file, kNoParameterFile, handler, target)) return failed;
    // Written as it goes: a large file is never held a second time as text.
    bool first = true;
    if (json) console.out << '[';
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& section = handler.SectionAt(s);
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            const Parameter& parameter = section.ParameterAt(p);
            if (!json) {
                // No field's own tab or control character forges a field or a line.
                std::string line;
                for (const std::string& field : {section.GetName(), parameter.GetKey(), displayName(parameter),
                                                 parameter.GetTypeWord(), parameter.GetDDV(), parameter.GetValue()}) {
                    line += (line.empty() ? "" : "\t") + EscapeServerControls(field);
                }
                console.Print(line + '\n');
                continue;
            }
            // JSON text is Unicode: the file's bytes go through their code page.
            console.out << (first ? "\n  {" : ",\n  {");
            first = false;
            const std::pair<const char*, std::string> fields[] = {
                {"section", section.GetName()}, {"key", parameter.GetKey()},      {"name", displayName(parameter)},
                {"type", parameter.GetTypeWord()},  {"ddv", parameter.GetDDV()},      {"value", parameter.GetValue()},
                {"comment", parameter.GetComment()},
            };
            for (const auto& [name, value] : fields) {
                console.out << '"' << name << "\": ";
                printJsonString(console.out, value);
                console.out << ", ";
            }
            console.out << "\"indented\": " << parameter.GetIndented() << ", \"typeSpec\": ";
            printJsonString(console.out, parameter.GetTypeSpec());
            console.out << '}';
        }
    }
    if (json) console.out << (first ? "]\n" : "\n]\n");
    return ExitDone;
}

int CheckCommand(const Console& console, const std::string& typeSpec, const std::string& value,
                 const std::string& comment) {
    Parameter parameter("", "", comment, 0);
    parameter.SetTypeSpec(typeSpec);
    std::string taken;
    if (!takeEntered(console, parameter, value, EntryPurpose::Check, taken)) return ExitNotFoundOrInvalid;
    console.Print(taken + "\n");
    return ExitDone;
}

int SetCommand(const Console& console, const std::string& share, const std::string& file, bool yes,
               const std::vector<std::string>& words) {
    if (words.empty() || words.size() % 3 != 0) return console.Message(kAssignmentsInThrees, ExitUsage);
    ParameterHandler handler;
    TargetFile target;
    if (const int failed = loadTarget(console, share, file, StringId::NoCommunication, handler, target)) return failed;
    std::vector<Edit> edits;
    if (!takeAssignments(console, handler, target, words, edits)) return ExitNotFoundOrInvalid;
    const SharePtr files = handler.GetShare();
    const std::string path = handler.GetPath();
    SubmitPlan plan(std::move(handler));  // the store is the plan's from here on
    try {
        for (const Edit& edit : edits) plan.Take(edit.section, edit.edited, edit.loadedValue);
    } catch (const StoreError& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    if (!plan.HasChanges()) return console.Message(StringId::NothingChanged, ExitDone);

    const std::vector<int> questions = plan.Questions();
    if (!questions.empty() && !yes) {
        if (plan.CarriesPendingFactoryReset()) console.Message(kPendingFactoryReset, ExitDone);
        for (int question : questions) console.Message(question, ExitDone);
        return console.Message(kConfirmWithYes, ExitNotFoundOrInvalid);
    }
    if (console.beforeWrite) console.beforeWrite(path);
    try {
        plan.Write();
    } catch (const FileChangedMeanwhile& error) {
        // Nothing was written over the other program's change.
        console.Failure(StringId::Unsuccessful, error, ExitNotTaken);
        ParameterHandler now;
        try {
            now.Load(files, path, CatalogueOf(target.kind));
        } catch (const FileException&) {
            return ExitNotTaken;  // what it holds cannot be said
        }
        return sayVerdicts(console, plan, now);
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    if (plan.AsksRestart()) return console.Message(StringId::ServerRestarting, ExitDone);
    plan.ReleaseWritten();  // not held beside the file read back

    ParameterHandler readBack;
    try {
        readBack.Load(files, path, CatalogueOf(target.kind));
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    if (plan.ConfirmedBy(readBack)) return console.Message(SubmitPlan::SuccessMessage(target.kind), ExitDone);
    console.Message(StringId::Unsuccessful, ExitNotTaken);
    return sayVerdicts(console, plan, readBack);
}

int RestartCommand(const Console& console, const std::string& share, bool factoryDefaults, bool yes) {
    if (!yes) {
        console.Message(factoryDefaults ? kFactoryDefaultsQuestion : kRestartQuestion, ExitDone);
        return console.Message(kConfirmWithYes, ExitNotFoundOrInvalid);
    }
    const SharePtr opened = openShare(console, share);
    if (!opened) return ExitFileError;
    try {
        ServerRequest request(opened, factoryDefaults ? ServerRequest::FactoryDefaults : ServerRequest::Restart);
        // --yes confirms a restart; a reset needs --factory-defaults too.
        if (request.CarriesPendingFactoryReset()) {
            console.Message(kPendingFactoryReset, ExitDone);
            return console.Message(kConfirmFactoryReset, ExitNotFoundOrInvalid);
        }
        request.Send();
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    return console.Message(StringId::ServerRestarting, ExitDone);
}

namespace {

// Lines of a listing: "LINE<tab>NAME" per entry, each field with its control
// characters escaped, or a JSON array of objects {"line": LINE, key: NAME}.
// The entries are UTF-8 text.
void printListing(const Console& console, const std::vector<std::pair<std::string, std::string>>& entries, bool json,
                  const char* key) {
    if (!json) {
        for (const auto& [line, name] : entries) {
            console.PrintUtf8(EscapeControls(line) + '\t' + EscapeControls(name) + '\n');
        }
        return;
    }
    console.out << '[';
    for (size_t i = 0; i < entries.size(); ++i) {
        console.out << (i == 0 ? "\n  {\"line\": " : ",\n  {\"line\": ");
        printJsonText(console.out, entries[i].first);
        console.out << ", \"" << key << "\": ";
        printJsonText(console.out, entries[i].second);
        console.out << '}';
    }
    console.out << (entries.empty() ? "]\n" : "\n]\n");
}

// Says which volume folders could not be read, each once; false when one could not.
bool sayUnreadable(const Console& console, const VolumeRightsListing& listing) {
    for (const UnreadableVolume& folder : listing.unreadable) {
        console.SayUtf8(FormatString(StringId::UnreadableVolume, {ShownName(folder.volume)}) + " (" +
                        ShownName(folder.error.Detail()) + ")");
    }
    return listing.unreadable.empty();
}

}  // namespace

int VolumesCommand(const Console& console, const std::string& share, bool json) {
    const SharePtr opened = openShare(console, share);
    if (!opened) return ExitFileError;
    VolumeRightsListing listing;
    try {
        // The server's version decides where its volume rights files lie.
        std::string firstLine;
        const bool lineFound = readFirstLine(console, *opened, firstLine);
        listing = ListVolumeRightsFiles(*opened, IdentifyFirstLine(lineFound, firstLine).version);
    } catch (const FileException& error) {
        return console.Failure(kNoParameterFile, error, ExitFileError);
    }
    // Names come from the file system: shown as they are, so that a line's
    // file works as --file.
    std::vector<std::pair<std::string, std::string>> entries;
    for (const VolumeRightsFile& file : listing.files) entries.emplace_back(NameText(file.line), NameText(file.name));
    const bool allRead = sayUnreadable(console, listing);
    if (!listing.missingFolder.empty()) {
        console.SayUtf8(FormatString(kFolderMissing, {ShownName(listing.missingFolder)}));
    } else if (entries.empty() && allRead) {
        console.Message(StringId::NoVolumeRightsFiles, ExitDone);
    }
    printListing(console, entries, json, "file");
    return allRead ? ExitDone : ExitFileError;
}

int DrivesCommand(const Console& console, const std::string& share, bool json) {
    const SharePtr opened = openShare(console, share);
    if (!opened) return ExitFileError;
    ParameterHandler scsi;
    try {
        scsi.Load(opened, ServerFile::ScsiDrives, CatalogueOf(ScsiDrives));
    } catch (const FileException& error) {
        return console.Failure(kNoParameterFile, error, ExitFileError);
    }
    const std::vector<std::string> sections = ListScsiDrives(scsi);
    const std::vector<std::string> drives = DrivesOf(scsi, sections);
    std::vector<std::pair<std::string, std::string>> entries;
    entries.reserve(sections.size());
    for (size_t i = 0; i < sections.size(); ++i) {
        entries.emplace_back(Cp1252ToUtf8(sections[i]), Cp1252ToUtf8(drives[i]));
    }
    if (entries.empty()) console.Message(StringId::NoDrives, ExitDone);
    printListing(console, entries, json, "drive");
    return ExitDone;
}
