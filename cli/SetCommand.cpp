// set: new values for parameters of one file, written once and confirmed by
// reading the file back, as a page's Submit does; or, on trial, the changes
// that would be written.
#include <CLI/CLI.hpp>
#include <map>

#include "Catalogue.h"
#include "ChangeSupport.h"
#include "CommandSupport.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "StringIds.h"
#include "StringTable.h"
#include "SubmitChanges.h"
#include "SubmitPlan.h"
#include "TargetFile.h"

namespace {

constexpr int kAssignmentsInThrees = 60015;
constexpr int kValueNotTaken = 60018;

// The usage line of set names the words that follow SHARE.
class SetFormatter : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App* app, std::string name) const override {
        std::string usage = CLI::Formatter::make_usage(app, std::move(name));
        while (!usage.empty() && usage.back() == '\n') usage.pop_back();
        return usage + " SECTION KEY VALUE [SECTION KEY VALUE ...]\n";
    }
};

// Finds and takes every SECTION KEY VALUE (a later one of the same parameter
// wins); false after the message of the first one refused.
bool takeAssignments(const Console& console, const ParameterHandler& handler, const TargetFile& target,
                     const std::vector<std::string>& words, std::vector<ParameterEdit>& edits) {
    std::map<std::pair<int, int>, ParameterEdit> taken;
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
        ParameterEdit edit{section, loaded, loaded.GetValue()};
        edit.edited.SetValue(value);
        edit.edited.SetCheckState(1);  // a value given for a date or time is meant to be set
        taken.insert_or_assign({s, p}, std::move(edit));
    }
    for (auto& [where, edit] : taken) edits.push_back(std::move(edit));
    return true;
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
        command.add_flag("--dry-run", dryRun, "Check everything and print the changes, but write nothing");
    }
    // A word that looks like an option set does not have is refused, not
    // taken as a section.
    void Parsed(const CLI::App& command, std::vector<std::string> afterOptions) override {
        RequireDryRunForJson(command, dryRun);
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
        // A real run writes what it read at once: the file is opened once.
        if (const int failed = LoadTarget(console, options, StringId::NoCommunication, handler, target, !dryRun)) {
            return failed;
        }
        std::vector<ParameterEdit> edits;
        if (!takeAssignments(console, handler, target, words, edits)) return ExitNotFoundOrInvalid;
        return SubmitEdits(console, std::move(handler), edits, target.kind, {yes, dryRun, options.json});
    }

private:
    std::vector<std::string> words;  // SECTION KEY VALUE, repeated
    bool yes = false;
    bool dryRun = false;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeSetCommand() { return std::make_unique<SetCommand>(); }
