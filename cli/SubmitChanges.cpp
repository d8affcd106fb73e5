#include "SubmitChanges.h"

#include "Catalogue.h"
#include "ChangeSet.h"
#include "ChangeSupport.h"
#include "CommandSupport.h"
#include "ConsoleExchange.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ShareLocation.h"
#include "StringIds.h"
#include "StringTable.h"
#include "SubmitPlan.h"

namespace {

constexpr int kKept = 60037;
constexpr int kNotKept = 60038;
constexpr int kNotKeptGone = 60039;

// A section name as the command line takes it: "" for the unnamed one.
std::string sectionWord(const std::string& section) { return section.empty() ? "\"\"" : section; }

// After values the server did not take: what became of each in the file
// as it is now.
int sayVerdicts(const Console& console, const SubmitPlan& plan, const ParameterHandler& now) {
    for (const SubmitPlan::Verdict& v : plan.Verdicts(now)) {
        const std::string section = sectionWord(v.section);
        // A password's value is never shown, as in a change set.
        console.Say(v.kept      ? FormatString(kKept, {section, v.key, ShownValue(v.key, v.sent)})
                    : v.present ? FormatString(kNotKept, {section, v.key, ShownValue(v.key, v.now)})
                                : FormatString(kNotKeptGone, {section, v.key}));
    }
    return ExitNotTaken;
}

// The confirmations the plan needs, in the command line's words.
std::vector<std::string> confirmationsOf(const SubmitPlan& plan) {
    std::vector<std::string> texts;
    if (plan.CarriesPendingFactoryReset()) texts.push_back(LoadString(kPendingFactoryReset));
    for (const int question : plan.Questions()) texts.push_back(LoadString(CommandLineMessageId(question)));
    return texts;
}

}  // namespace

int WriteChanges(const Console& console, SubmitPlan& plan, const SharePtr& files, const std::string& path,
                 CatalogueKind kind) {
    const ChangeSet changes = plan.Changes();
    if (console.beforeWrite) console.beforeWrite(path);
    try {
        plan.Write();
    } catch (const FileChangedMeanwhile& error) {
        // Nothing was written over the other program's change.
        console.Failure(StringId::Unsuccessful, error, ExitNotTaken);
        ParameterHandler now;
        try {
            now.Load(files, path, CatalogueOf(kind));
        } catch (const FileException&) {
            return ExitNotTaken;  // what it holds cannot be said
        }
        return sayVerdicts(console, plan, now);
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    const auto record = [&](const std::string& after, bool kept) {
        RecordCtlWrite(console, ShareAddress(console.share), *files, changes, plan.BytesBefore(), after, kept);
    };
    if (plan.AsksRestart()) {
        record(plan.BytesAfter(), true);  // the server is about to go away: nothing to read back
        return console.Message(StringId::ServerRestarting, ExitDone);
    }
    const std::string after = plan.BytesAfter();
    plan.ReleaseWritten();  // not held beside the file read back

    ParameterHandler readBack;
    try {
        readBack.Load(files, path, CatalogueOf(kind));
    } catch (const FileException& error) {
        record(after, false);
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    const bool kept = plan.ConfirmedBy(readBack);
    record(after, kept);
    if (kept) return console.Message(SubmitPlan::SuccessMessage(kind), ExitDone);
    console.Message(StringId::Unsuccessful, ExitNotTaken);
    return sayVerdicts(console, plan, readBack);
}

int SubmitChanges(const Console& console, SubmitPlan& plan, const SharePtr& files, const std::string& path,
                  CatalogueKind kind, const SubmitChoice& choice) {
    if (!plan.HasChanges()) {
        if (choice.dryRun && choice.json) EndDryRun(console, {files->NameOf(path), {}}, {}, true, 0, true);
        return console.Message(StringId::NothingChanged, ExitDone);
    }
    const std::vector<std::string> confirmations = confirmationsOf(plan);
    if (choice.dryRun) {
        try {
            plan.CheckWritable();
        } catch (const FileException& error) {
            return console.Failure(StringId::NoCommunication, error, ExitFileError);
        }
        return EndDryRun(console, plan.Changes(), confirmations, choice.yes, kConfirmWithYes, choice.json);
    }
    if (!confirmations.empty() && !choice.yes) {
        for (const std::string& text : confirmations) console.SayUtf8(text);
        return console.Message(kConfirmWithYes, ExitNotFoundOrInvalid);
    }
    return WriteChanges(console, plan, files, path, kind);
}

int SubmitEdits(const Console& console, ParameterHandler store, const std::vector<ParameterEdit>& edits,
                CatalogueKind kind, const SubmitChoice& choice) {
    const SharePtr files = store.GetShare();
    const std::string path = store.GetPath();
    SubmitPlan plan(std::move(store));  // the store is the plan's from here on
    try {
        for (const ParameterEdit& edit : edits) plan.Take(edit.section, edit.edited, edit.loadedValue);
    } catch (const StoreError& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    return SubmitChanges(console, plan, files, path, kind, choice);
}
