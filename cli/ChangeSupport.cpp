#include "ChangeSupport.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <optional>
#include <system_error>

#include "Catalogue.h"
#include "ChangeHistory.h"
#include "CommandSupport.h"
#include "LocalState.h"
#include "ServerShare.h"
#include "ShareLocation.h"
#include "ShownText.h"
#include "StoreError.h"
#include "StringTable.h"
#include "TargetFile.h"

namespace {

constexpr int kHistoryNotKept = 60100;
constexpr int kLastWriteKept = 60101;
constexpr int kNothingRecorded = 60102;
constexpr int kNoSuchWrite = 60103;
constexpr int kHistoryOff = 60104;
constexpr int kHistoryUnreadable = 60112;
constexpr int kJsonNeedsDryRun = 60113;

const char* const kProgram = "tessaron-ctl";

// A field of a plain line: server text, control characters escaped.
std::string field(const std::string& bytes) { return EscapeServerControls(bytes); }

void printJsonChange(std::ostream& out, const Change& change) {
    out << "{\"section\": ";
    PrintJsonString(out, change.section);
    out << ", \"key\": ";
    PrintJsonString(out, change.key);
    out << ", \"old\": ";
    PrintJsonString(out, ShownValue(change.key, change.oldValue));
    out << ", \"new\": ";
    PrintJsonString(out, ShownValue(change.key, change.newValue));
    out << '}';
}

void printJson(const Console& console, const ChangeSet& changes, const std::vector<std::string>* confirmations) {
    console.out << "{\"file\": ";
    PrintJsonText(console.out, NameText(changes.file));
    console.out << ", \"changes\": ";
    PrintChangeList(console.out, changes);
    if (confirmations) {
        console.out << ", \"confirmations\": [";
        for (size_t i = 0; i < confirmations->size(); ++i) {
            console.out << (i == 0 ? "" : ", ");
            PrintJsonText(console.out, (*confirmations)[i]);
        }
        console.out << ']';
    }
    console.out << "}\n";
}

std::string trimmed(const std::string& text) {
    const size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

// A share as a command line given later takes it: a folder by its full path.
std::string lasting(const std::string& share) {
    NetworkPath network;
    std::error_code failed;
    if (ParseNetworkPath(share, network) || share.empty() || share[0] == '/') return share;
    const std::filesystem::path absolute = std::filesystem::absolute(share, failed);
    return failed ? share : absolute.lexically_normal().string();
}

}  // namespace

void PrintChangeList(std::ostream& out, const ChangeSet& changes) {
    out << '[';
    for (size_t i = 0; i < changes.changes.size(); ++i) {
        out << (i == 0 ? "\n  " : ",\n  ");
        printJsonChange(out, changes.changes[i]);
    }
    out << (changes.changes.empty() ? "]" : "\n]");
}

void PrintChangeSet(const Console& console, const ChangeSet& changes, bool json,
                    const std::vector<std::string>* confirmations) {
    if (json) return printJson(console, changes, confirmations);
    const std::string file = ShownName(changes.file);
    for (const Change& change : changes.changes) {
        console.PrintUtf8(file + '\t');
        console.Print(field(change.section) + '\t' + field(change.key) + '\t' +
                      field(ShownValue(change.key, change.oldValue)) + '\t' +
                      field(ShownValue(change.key, change.newValue)) + '\n');
    }
}

int EndDryRun(const Console& console, const ChangeSet& changes, const std::vector<std::string>& confirmations,
              bool confirmed, int missing, bool json) {
    PrintChangeSet(console, changes, json, &confirmations);
    if (!json) {
        for (const std::string& text : confirmations) console.SayUtf8(text);
    }
    return confirmations.empty() || confirmed ? ExitDone : console.Message(missing, ExitNotFoundOrInvalid);
}

void RequireDryRunForJson(const CLI::App& command, bool dryRun) {
    if (command.count("--json") > 0 && !dryRun) throw CLI::ValidationError(LoadString(kJsonNeedsDryRun));
}

void RecordCtlWrite(const Console& console, const std::string& address, const Share& share, const ChangeSet& changes,
                    const std::string& before, const std::string& after, bool kept) {
    if (!KeepsLocalState()) return;
    const WriteOrigin origin{kProgram, address, SerialAtWrite(share, changes.file, before)};
    std::string problem;
    if (!RecordWrite(origin, changes, before, after, kept, problem)) {
        console.SayUtf8(FormatString(kHistoryNotKept, {ShownName(problem)}));
    }
}

void OfferRestore(const Console& console, const std::string& path) {
    if (!KeepsLocalState()) return;
    // A command without SHARE (format) works on the share its file lies in.
    const std::string share = console.share.empty() ? ShareFolderAbove(path) : console.share;
    if (share.empty()) return;
    try {
        const std::string file = OpenServerShare(share, console.credentials)->NameOf(path);
        const std::optional<HistoryEntry> last = LastWriteOf(ShareAddress(share), file);
        if (!last) return;
        const std::string serial = trimmed(last->serial);
        const std::string shownSerial = EscapeControls(serial.empty() ? "Unknown" : Cp1252ToUtf8(serial));
        console.SayUtf8(
            FormatString(kLastWriteKept, {ShownName(file), std::to_string(last->id), ShownName(last->time), shownSerial}));
        console.SayUtf8(std::string("  ") + kProgram + " restore " + ShownName(ShellWord(lasting(share))) + " " +
                        std::to_string(last->id) + " --yes");
    } catch (const StoreError&) {
        // A share that cannot be reached again offers nothing more.
    }
}

bool HistoryKept(const Console& console) {
    if (KeepsLocalState()) return true;
    console.Message(kHistoryOff, ExitNotFoundOrInvalid);
    return false;
}

int FindWrite(const Console& console, const std::string& address, int id, HistoryEntry& entry) {
    if (!HistoryKept(console)) return ExitNotFoundOrInvalid;
    try {
        const History history(address);
        std::optional<HistoryEntry> found;
        if (id > 0) {
            found = history.Find(id);
        } else if (std::vector<HistoryEntry> entries = history.Entries(); !entries.empty()) {
            found = std::move(entries.front());
        }
        if (found) {
            entry = std::move(*found);
            return ExitDone;
        }
    } catch (const StoreError& error) {
        return console.Failure(kHistoryUnreadable, error, ExitFileError);
    }
    if (id > 0) console.SayUtf8(FormatString(kNoSuchWrite, {std::to_string(id), ShownName(address)}));
    if (id <= 0) console.SayUtf8(FormatString(kNothingRecorded, {ShownName(address)}));
    return ExitNotFoundOrInvalid;
}

ParameterHandler StoreOfBytes(const std::string& bytes, CatalogueKind kind) {
    ParameterHandler store;
    store.ReadText(bytes);
    CatalogueOf(kind).Apply(store);
    return store;
}

std::string ShellWord(const std::string& text) {
    const bool plain = !text.empty() && text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                                               "0123456789/._-+=:,@%") == std::string::npos;
    if (plain) return text;
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
