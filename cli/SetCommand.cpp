// set: new values for parameters of one file, written once and confirmed by
// reading the file back, as a page's Submit does.
#include <CLI/CLI.hpp>
#include <map>

#include "Catalogue.h"
#include "CommandSupport.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "StringIds.h"
#include "StringTable.h"
#include "SubmitPlan.h"
#include "TargetFile.h"

namespace {

constexpr int kAssignmentsInThrees = 60015;
constexpr int kValueNotTaken = 60018;
constexpr int kKept = 60037;
constexpr int kNotKept = 60038;
constexpr int kNotKeptGone = 60039;

// The usage line of set names the words that follow SHARE.
class SetFormatter : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App* app, std::string name) const override {
        std::string usage = CLI::Formatter::make_usage(app, std::move(name));
        while (!usage.empty() && usage.back() == '\n') usage.pop_back();
        return usage + " SECTION KEY VALUE [SECTION KEY VALUE ...]\n";
    }
};

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
        const int s = SectionIndex(handler, section);
        const int p = s < 0 ? -1 : handler.SectionAt(s).IndexOf(key);
        if (p < 0) {
            SayMissing(console, handler, target, section, s, key);
            return false;
        }
        const Parameter& loaded = handler.SectionAt(s).ParameterAt(p);
        std::string value;
        if (!TakeEntered(console, loaded, words[i + 2], EntryPurpose::Set, value)) {
            console.Say(FormatString(kValueNotTaken, {ParameterLabel(section, key)}));
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

// Writes the plan to the file at path, then says how the server took it.
int writeAndConfirm(const Console& console, SubmitPlan& plan, const SharePtr& files, const std::string& path,
                    CatalogueKind kind) {
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
    if (plan.AsksRestart()) return console.Message(StringId::ServerRestarting, ExitDone);
    plan.ReleaseWritten();  // not held beside the file read back

    ParameterHandler readBack;
    try {
        readBack.Load(files, path, CatalogueOf(kind));
    } catch (const FileException& error) {
        return console.Failure(StringId::NoCommunication, error, ExitFileError);
    }
    if (plan.ConfirmedBy(readBack)) return console.Message(SubmitPlan::SuccessMessage(kind), ExitDone);
    console.Message(StringId::Unsuccessful, ExitNotTaken);
    return sayVerdicts(console, plan, readBack);
}

class SetCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        // The assignments are taken as the words they are, after the options
        // are parsed: a value such as "[Server]" is a value, not a list to
        // unpack.
        command.allow_extras();
        command.formatter(std::make_shared<SetFormatter>());
        command.footer("SECTION KEY VALUE [SECTION KEY VALUE ...]: one or more parameters with their new values; "
                       "after --, words beginning with - are taken as such words too");
        command.add_flag("--yes", yes, "Confirm a restart or factory-defaults request");
    }
    // A word that looks like an option set does not have is refused, not
    // taken as a section.
    void Parsed(const CLI::App& command, std::vector<std::string> afterOptions) override {
        for (const std::string& word : command.remaining()) {
            if (word.size() > 2 && word.compare(0, 2, "--") == 0) throw CLI::ExtrasError(command.get_name(), {word});
            words.push_back(word);
        }
        words.insert(words.end(), afterOptions.begin(), afterOptions.end());
    }
    std::vector<std::string*> ServerText() override {
        std::vector<std::string*> text;
        for (std::string& word : words) text.push_back(&word);
        return text;
    }

    int Run(const Console& console, const ShareOptions& options) override {
        if (words.empty() || words.size() % 3 != 0) return console.Message(kAssignmentsInThrees, ExitUsage);
        ParameterHandler handler;
        TargetFile target;
        if (const int failed = LoadTarget(console, options, StringId::NoCommunication, handler, target)) return failed;
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
        return writeAndConfirm(console, plan, files, path, target.kind);
    }

private:
    std::vector<std::string> words;  // SECTION KEY VALUE, repeated
    bool yes = false;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeSetCommand() { return std::make_unique<SetCommand>(); }
