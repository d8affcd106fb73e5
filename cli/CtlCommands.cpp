#include "CtlCommands.h"

#include <map>
#include <nlohmann/json.hpp>
#include <utility>

#include "Catalogue.h"
#include "Cp1252.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ServerFiles.h"
#include "ServerIdentity.h"
#include "ServerRequests.h"
#include "ShareFile.h"
#include "SubmitPlan.h"
#include "ShareLocation.h"
#include "StringIds.h"
#include "StringTable.h"
#include "TargetFile.h"
#include "ValueEntry.h"

namespace {

// Messages of the string table used here.
constexpr int kRestartQuestion = 115;
constexpr int kFactoryDefaultsQuestion = 116;
constexpr int kUnsupportedVersion = 1003;
constexpr int kNotSupportedUnit = 1018;
constexpr int kNoParameterFile = 1021;
constexpr int kNoSection = 60011;
constexpr int kNoParameter = 60012;
constexpr int kAssignmentsInThrees = 60015;
constexpr int kConfirmWithYes = 60017;
constexpr int kValueNotTaken = 60018;
constexpr int kPendingFactoryReset = 60019;
constexpr int kConfirmFactoryReset = 60020;

std::string sectionLabel(const std::string& section) { return "[" + section + "]"; }

std::string parameterLabel(const std::string& section, const std::string& key) {
    return section.empty() ? key : sectionLabel(section) + " " + key;
}

// The local folder of a share given on the command line; false after the
// message when it names a network share that is not mounted, or a folder
// that does not exist or is not a server's share.
bool resolveShare(const Console& console, const std::string& share, std::string& directory) {
    try {
        directory = ResolveServerPath(share);
    } catch (const ShareNotMounted& error) {
        console.err << error.Message() << '\n';
        return false;
    }
    if (const int problem = ShareFolderProblem(directory)) {
        console.err << FormatString(problem, {share}) << '\n';
        return false;
    }
    return true;
}

// Loads the file a --file choice names; false after message failureId.
bool loadTarget(const Console& console, const std::string& share, const std::string& file, int failureId,
                ParameterHandler& handler, TargetFile& target) {
    std::string directory;
    if (!resolveShare(console, share, directory)) return false;
    target = ChooseFile(directory, file);
    try {
        handler.Load(target.path, CatalogueOf(target.kind));
        return true;
    } catch (const FileException& error) {
        console.Failure(failureId, error, ExitFileError);
        return false;
    }
}

int sectionIndex(const ParameterHandler& handler, const std::string& name) {
    for (int i = 0; i < handler.GetSectionCount(); ++i) {
        if (handler.SectionAt(i).GetName() == name) return i;
    }
    return -1;
}

std::string displayName(const Parameter& parameter) {
    const std::string name = parameter.GetNameId() != 0 ? LoadString(parameter.GetNameId()) : std::string();
    return name.empty() ? parameter.GetKey() : name;
}

// One value to set, found in the store and taken by its parameter's rules.
struct Assignment {
    int section;
    int parameter;
    std::string value;
};

// Finds and takes every SECTION KEY VALUE; false after the message of the
// first one refused.
bool takeAssignments(const Console& console, const ParameterHandler& handler, const std::vector<std::string>& words,
                     std::vector<Assignment>& assignments) {
    for (size_t i = 0; i + 2 < words.size(); i += 3) {
        const std::string& section = words[i];
        const std::string& key = words[i + 1];
        const int s = sectionIndex(handler, section);
        if (s < 0) {
            console.err << FormatString(kNoSection, {sectionLabel(section)}) << '\n';
            return false;
        }
        const int p = handler.SectionAt(s).IndexOf(key);
        if (p < 0) {
            console.err << FormatString(kNoParameter, {parameterLabel(section, key)}) << '\n';
            return false;
        }
        std::string value;
        if (!TakeEnteredValue(handler.SectionAt(s).ParameterAt(p), words[i + 2], EntryPurpose::Set, console.err,
                              value)) {
            console.err << FormatString(kValueNotTaken, {parameterLabel(section, key)}) << '\n';
            return false;
        }
        assignments.push_back({s, p, value});
    }
    return true;
}

}  // namespace

int Console::Message(int stringId, int code) const {
    err << LoadString(stringId) << '\n';
    return code;
}

int Console::Failure(int stringId, const StoreError& error, int code) const {
    if (error.MessageId() != 0) err << LoadString(error.MessageId()) << '\n';
    err << LoadString(stringId);
    const std::string detail = error.Detail();
    if (!detail.empty()) err << " (" << detail << ')';
    err << '\n';
    return code;
}

int IdentifyCommand(const Console& console, const std::string& share) {
    std::string directory;
    if (!resolveShare(console, share, directory)) return ExitFileError;
    std::string firstLine;
    bool lineFound = false;
    try {
        lineFound = ReadFirstLine(SharePath(directory, ServerFile::Configuration), firstLine);
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    const ServerIdentity identity = IdentifyFirstLine(lineFound, firstLine);
    if (!identity.accepted) return console.Message(kNotSupportedUnit, ExitNotSupported);
    if (!identity.versionSupported) console.Message(kUnsupportedVersion, ExitDone);
    console.out << "product: " << identity.productTitle << '\n'
                << "version: " << identity.version << '\n'
                << "kind: " << identity.serverKind << '\n'
                << "serial: " << SerialNumber(firstLine) << '\n';
    return ExitDone;
}

int GetCommand(const Console& console, const std::string& share, const std::string& section, const std::string& key,
               const std::string& file) {
    ParameterHandler handler;
    TargetFile target;
    if (!loadTarget(console, share, file, kNoParameterFile, handler, target)) return ExitFileError;
    const int s = sectionIndex(handler, section);
    if (s < 0) {
        console.err << FormatString(kNoSection, {sectionLabel(section)}) << '\n';
        return ExitNotFoundOrInvalid;
    }
    std::string value;
    if (!handler.SectionAt(s).GetValue(key, value)) {
        console.err << FormatString(kNoParameter, {parameterLabel(section, key)}) << '\n';
        return ExitNotFoundOrInvalid;
    }
    console.out << value << '\n';
    return ExitDone;
}

int FormatCommand(const Console& console, const std::string& file, bool inPlace) {
    ParameterHandler handler;
    try {
        handler.Load(file, CatalogueOf(KindOfPath(file)));
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
    if (!loadTarget(console, share, file, kNoParameterFile, handler, target)) return ExitFileError;
    nlohmann::json list = nlohmann::json::array();
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& section = handler.SectionAt(s);
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            const Parameter& parameter = section.ParameterAt(p);
            if (!json) {
                console.out << section.GetName() << '\t' << parameter.GetKey() << '\t' << displayName(parameter) << '\t'
                            << parameter.GetType() << '\t' << parameter.GetDDV() << '\t' << parameter.GetValue()
                            << '\n';
                continue;
            }
            // JSON text is Unicode: the file's bytes go through their code page.
            list.push_back({{"section", Cp1252ToUtf8(section.GetName())},
                            {"key", Cp1252ToUtf8(parameter.GetKey())},
                            {"name", Cp1252ToUtf8(displayName(parameter))},
                            {"type", Cp1252ToUtf8(parameter.GetType())},
                            {"ddv", Cp1252ToUtf8(parameter.GetDDV())},
                            {"value", Cp1252ToUtf8(parameter.GetValue())},
                            {"comment", Cp1252ToUtf8(parameter.GetComment())},
                            {"indented", parameter.GetIndented()},
                            {"typeSpec", Cp1252ToUtf8(parameter.GetTypeSpec())}});
        }
    }
    if (json) console.out << list.dump(2) << '\n';
    return ExitDone;
}

int CheckCommand(const Console& console, const std::string& typeSpec, const std::string& value,
                 const std::string& comment) {
    Parameter parameter("", "", comment, 0);
    parameter.SetTypeSpec(typeSpec);
    std::string taken;
    if (!TakeEnteredValue(parameter, value, EntryPurpose::Check, console.err, taken)) return ExitNotFoundOrInvalid;
    console.out << taken << '\n';
    return ExitDone;
}

int SetCommand(const Console& console, const std::string& share, const std::string& file, bool yes,
               const std::vector<std::string>& words) {
    if (words.empty() || words.size() % 3 != 0) return console.Message(kAssignmentsInThrees, ExitUsage);
    ParameterHandler handler;
    TargetFile target;
    if (!loadTarget(console, share, file, StringId::NoCommunication, handler, target)) return ExitFileError;
    std::vector<Assignment> assignments;
    if (!takeAssignments(console, handler, words, assignments)) return ExitNotFoundOrInvalid;

    // A later assignment of the same parameter wins.
    std::map<std::pair<int, int>, std::string> values;
    for (const Assignment& a : assignments) values[{a.section, a.parameter}] = a.value;
    const ParameterHandler loaded = handler;
    SubmitPlan plan(handler);
    try {
        for (const auto& [where, value] : values) {
            const Parameter& stored = loaded.SectionAt(where.first).ParameterAt(where.second);
            Parameter edited = stored;
            edited.SetValue(value);
            edited.SetCheckState(1);  // a value given for a date or time is meant to be set
            plan.Take(loaded.SectionAt(where.first).GetName(), edited, stored.GetValue());
        }
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
    try {
        plan.Write();
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    if (plan.AsksRestart()) return console.Message(StringId::ServerRestarting, ExitDone);
    if (console.afterWrite) console.afterWrite(target.path);

    ParameterHandler readBack;
    try {
        readBack.Load(target.path, CatalogueOf(target.kind));
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    if (!plan.ConfirmedBy(readBack)) return console.Message(StringId::Unsuccessful, ExitNotTaken);
    return console.Message(SubmitPlan::SuccessMessage(target.kind), ExitDone);
}

int RestartCommand(const Console& console, const std::string& share, bool factoryDefaults, bool yes) {
    if (!yes) {
        console.Message(factoryDefaults ? kFactoryDefaultsQuestion : kRestartQuestion, ExitDone);
        return console.Message(kConfirmWithYes, ExitNotFoundOrInvalid);
    }
    std::string directory;
    if (!resolveShare(console, share, directory)) return ExitFileError;
    try {
        ServerRequest request(directory, factoryDefaults ? ServerRequest::FactoryDefaults : ServerRequest::Restart);
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
