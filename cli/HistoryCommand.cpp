// history: the writes the history of changes keeps for a share, newest
// first, or the changes of one of them.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <system_error>

#include "ChangeSupport.h"
#include "CommandSupport.h"
#include "History.h"
#include "ServerShare.h"
#include "ShareLocation.h"
#include "ShownText.h"
#include "StoreError.h"
#include "StringTable.h"
#include "TargetFile.h"
#include "TextRules.h"

namespace {

constexpr int kNothingRecorded = 60102;
constexpr int kHistoryUnreadable = 60112;

const char* resultOf(const HistoryEntry& entry) { return entry.kept ? "written" : "not kept"; }

// The file a --file choice names, as the history records it: its path below
// the share (a full path taken below the share's folder).
std::string recordedName(const std::string& share, const std::string& choice) {
    const TargetFile target = ChooseFile(choice);
    if (target.shown.empty() || target.shown[0] != '/') return target.shown;
    std::error_code failed;
    const std::string folder = std::filesystem::weakly_canonical(MountedFolderOf(share), failed).string();
    return SharePathOf(folder, std::filesystem::weakly_canonical(target.shown, failed).string());
}

void printJson(const Console& console, const std::vector<HistoryEntry>& entries) {
    console.out << '[';
    for (size_t i = 0; i < entries.size(); ++i) {
        const HistoryEntry& entry = entries[i];
        console.out << (i == 0 ? "\n  {\"id\": " : ",\n  {\"id\": ") << entry.id << ", \"time\": ";
        PrintJsonText(console.out, NameText(entry.time));
        console.out << ", \"program\": ";
        PrintJsonText(console.out, NameText(entry.program));
        console.out << ", \"file\": ";
        PrintJsonText(console.out, NameText(entry.changes.file));
        console.out << ", \"serial\": ";
        PrintJsonString(console.out, entry.serial);
        console.out << ", \"changes\": " << entry.changes.changes.size() << ", \"result\": \"" << resultOf(entry)
                    << "\"}";
    }
    console.out << (entries.empty() ? "]\n" : "\n]\n");
}

void printEntries(const Console& console, const std::vector<HistoryEntry>& entries, bool json) {
    if (json) return printJson(console, entries);
    for (const HistoryEntry& entry : entries) {
        console.PrintUtf8(std::to_string(entry.id) + '\t' + ShownName(entry.time) + '\t' + ShownName(entry.program) +
                          '\t' + ShownName(entry.changes.file) + '\t' + std::to_string(entry.changes.changes.size()) +
                          '\t' + resultOf(entry) + '\n');
    }
}

class HistoryCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_option("--show", show, "Print the changes of write ID as set --dry-run prints them")
            ->type_name("ID")
            ->check(CLI::PositiveNumber);
    }

    int Run(const Console& console, const ShareOptions& options) override {
        const std::string address = ShareAddress(options.share);
        if (show > 0) {
            HistoryEntry entry;
            if (const int failed = FindWrite(console, address, show, entry)) return failed;
            PrintChangeSet(console, entry.changes, options.json);
            return ExitDone;
        }
        if (!HistoryKept(console)) return ExitNotFoundOrInvalid;
        try {
            std::vector<HistoryEntry> entries = History(address).Entries();
            if (entries.empty()) console.SayUtf8(FormatString(kNothingRecorded, {ShownName(address)}));
            if (!options.file.empty()) {
                const std::string file = recordedName(options.share, options.file);
                std::erase_if(entries, [&](const HistoryEntry& e) { return !EqualIgnoringCase(e.changes.file, file); });
            }
            printEntries(console, entries, options.json);
        } catch (const StoreError& error) {
            return console.Failure(kHistoryUnreadable, error, ExitFileError);
        }
        return ExitDone;
    }

private:
    int show = 0;  // --show ID
};

}  // namespace

std::unique_ptr<CtlCommand> MakeHistoryCommand() { return std::make_unique<HistoryCommand>(); }
