// restore: writes back the exact bytes a recorded write wrote, for a file
// emptied or damaged since.
#include <CLI/CLI.hpp>

#include "ChangeHistory.h"
#include "ChangeSupport.h"
#include "CommandSupport.h"
#include "FileException.h"
#include "ShareLocation.h"
#include "ShownText.h"
#include "StringIds.h"
#include "StringTable.h"
#include "TargetFile.h"

namespace {

constexpr int kRestores = 60109;
constexpr int kRestored = 60110;
constexpr int kNoBytesKept = 60111;
constexpr int kHistoryUnreadable = 60112;

// The file of the share a write names, and what it holds now.
struct Restored {
    SharePtr share;
    std::string path;
    std::string now;
    std::string bytes;  // what the write wrote
};

class RestoreCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_option("ID", id, "The write whose bytes to write back, as history lists it")
            ->required()
            ->check(CLI::PositiveNumber);
        command.add_flag("--yes", yes, "Confirm the restore");
        command.add_flag("--dry-run", dryRun, "Print the changes the restore would make, but write nothing");
    }
    void Parsed(const CLI::App& command, std::vector<std::string>) override { RequireDryRunForJson(command, dryRun); }

    int Run(const Console& console, const ShareOptions& options) override {
        const std::string address = ShareAddress(options.share);
        HistoryEntry entry;
        if (const int failed = FindWrite(console, address, id, entry)) return failed;
        Restored file;
        if (const int failed = read(console, options, address, entry, file)) return failed;
        if (file.now == file.bytes) return console.Message(StringId::NothingChanged, ExitDone);
        const CatalogueKind kind = KindOfPath(entry.changes.file);
        const ParameterHandler after = StoreOfBytes(file.bytes, kind);
        const ChangeSet changes{file.share->NameOf(file.path), ChangesBetween(StoreOfBytes(file.now, kind), after)};
        const std::string question = FormatString(kRestores, {ShownName(changes.file), ShownName(address),
                                                              std::to_string(id), ShownName(entry.time)});
        if (dryRun) return EndDryRun(console, changes, {question}, yes, kConfirmWithYes, options.json);
        console.SayUtf8(question);
        if (!yes) return console.Message(kConfirmWithYes, ExitNotFoundOrInvalid);
        return write(console, address, file, changes, after, kind);
    }

private:
    // The bytes of write id and the file as it is now.
    int read(const Console& console, const ShareOptions& options, const std::string& address,
             const HistoryEntry& entry, Restored& file) const {
        try {
            file.bytes = History(address).BytesAfter(id);
        } catch (const StoreError& error) {
            return console.Failure(kHistoryUnreadable, error, ExitFileError);
        }
        // A write leaves a file with at least its [END]: no bytes is no copy.
        if (file.bytes.empty()) return console.Message(kNoBytesKept, ExitNotFoundOrInvalid);
        file.share = OpenShare(console, options.share);
        if (!file.share) return ExitFileError;
        try {
            file.path = file.share->PathOf(entry.changes.file);
            if (IsServerOnlyFile(*file.share, file.path)) {
                console.SayUtf8(FormatString(kNotAParameterFile, {ShownName(entry.changes.file)}));
                return ExitNotFoundOrInvalid;
            }
            file.now = file.share->Read(file.path);
        } catch (const FileException& error) {
            return console.Failure(StringId::NoCommunication, error, ExitFileError);
        }
        return ExitDone;
    }

    // Replaces what was read by the write's bytes, reads the file back and
    // records the restore.
    int write(const Console& console, const std::string& address, const Restored& file, const ChangeSet& changes,
              const ParameterHandler& after, CatalogueKind kind) const {
        if (console.beforeWrite) console.beforeWrite(file.path);
        try {
            file.share->Replace(file.path, file.now, file.bytes);
        } catch (const FileChangedMeanwhile& error) {
            return console.Failure(StringId::Unsuccessful, error, ExitNotTaken);
        } catch (const FileException& error) {
            return console.Failure(StringId::NoCommunication, error, ExitFileError);
        }
        // The server writes the file back in its own form: the parameters
        // must come back, not the bytes.
        bool kept = false;
        try {
            kept = CompareStores(StoreOfBytes(file.share->Read(file.path), kind), after).empty();
        } catch (const FileException&) {
            // not confirmed
        }
        RecordCtlWrite(console, address, *file.share, changes, file.now, file.bytes, kept);
        if (!kept) return console.Message(StringId::Unsuccessful, ExitNotTaken);
        console.SayUtf8(FormatString(kRestored, {ShownName(changes.file), std::to_string(id)}));
        return ExitDone;
    }

    int id = 0;
    bool yes = false;
    bool dryRun = false;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeRestoreCommand() { return std::make_unique<RestoreCommand>(); }
