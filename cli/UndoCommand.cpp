// undo: sets the parameters a recorded write changed back to their values
// before it, through the same submit as set.
#include <CLI/CLI.hpp>

#include "ChangeHistory.h"
#include "ChangeSupport.h"
#include "CommandSupport.h"
#include "ParameterHandler.h"
#include "ShareLocation.h"
#include "ShownText.h"
#include "StringIds.h"
#include "StringTable.h"
#include "SubmitChanges.h"
#include "SubmitPlan.h"
#include "TargetFile.h"

namespace {

constexpr int kChangedSince = 60105;
constexpr int kGoneSince = 60106;
constexpr int kAddForce = 60107;
constexpr int kNotSentAgain = 60108;

std::string shownValue(const Change& change, const std::string& value) {
    return EscapeServerControls(ShownValue(change.key, value));
}

// The parameter of the store now, or nullptr when it has none.
const Parameter* parameterIn(const ParameterHandler& now, const std::string& section, const std::string& key) {
    const int s = SectionIndex(now, section);
    const int p = s < 0 ? -1 : now.SectionAt(s).IndexOf(key);
    return p < 0 ? nullptr : &now.SectionAt(s).ParameterAt(p);
}

// Says which parameters another change came over since the write.
void sayConflicts(const Console& console, const std::vector<Change>& conflicts, const ParameterHandler& now) {
    for (const Change& c : conflicts) {
        const std::string label = EscapeServerControls(ParameterLabel(c.section, c.key));
        console.Say(!parameterIn(now, c.section, c.key)
                        ? FormatString(kGoneSince, {label})
                        : FormatString(kChangedSince, {label, shownValue(c, c.oldValue), shownValue(c, c.newValue)}));
    }
}

// Each change as an edit of its parameter, from the value the file holds
// to the one before the write.
std::vector<ParameterEdit> editsOf(const ParameterHandler& now, const std::vector<Change>& changes) {
    std::vector<ParameterEdit> edits;
    for (const Change& change : changes) {
        const Parameter& loaded = *parameterIn(now, change.section, change.key);
        ParameterEdit edit{change.section, loaded, loaded.GetValue()};
        edit.edited.SetValue(change.newValue);
        edit.edited.SetCheckState(1);  // a value to set, as set gives it
        edits.push_back(std::move(edit));
    }
    return edits;
}

class UndoCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_option("ID", id, "The write to undo, as history lists it (the newest when left out)")
            ->check(CLI::PositiveNumber);
        command.add_flag("--yes", yes, "Confirm what the write needs confirmed");
        command.add_flag("--dry-run", dryRun, "Check everything and print the changes, but write nothing");
        command.add_flag("--force", force, "Undo the write even where a later change came over it");
    }
    void Parsed(const CLI::App& command, std::vector<std::string>) override { RequireDryRunForJson(command, dryRun); }

    int Run(const Console& console, const ShareOptions& options) override {
        HistoryEntry entry;
        if (const int failed = FindWrite(console, ShareAddress(options.share), id, entry)) return failed;
        ShareOptions written = options;
        written.file = entry.changes.file;
        ParameterHandler now;
        TargetFile target;
        if (const int failed = LoadTarget(console, written, StringId::NoCommunication, now, target)) return failed;

        const UndoPlan undo = PlanUndo(entry, now);
        for (const Change& skipped : undo.skipped) {
            const std::string label = EscapeServerControls(ParameterLabel(skipped.section, skipped.key));
            console.Say(FormatString(kNotSentAgain, {label}));
        }
        sayConflicts(console, undo.conflicts, now);
        if (!undo.conflicts.empty() && !force) return console.Message(kAddForce, ExitNotTaken);

        std::vector<Change> changes = undo.edits;
        if (force) changes.insert(changes.end(), undo.forced.begin(), undo.forced.end());
        const std::vector<ParameterEdit> edits = editsOf(now, changes);
        return SubmitEdits(console, std::move(now), edits, target.kind, {yes, dryRun, options.json});
    }

private:
    int id = 0;  // 0: the newest write
    bool yes = false;
    bool dryRun = false;
    bool force = false;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeUndoCommand() { return std::make_unique<UndoCommand>(); }
