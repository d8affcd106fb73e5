// apply: files of a share brought to the state a JSON document gives. Every
// file is read and every value checked before anything is written; then
// each file is written as set writes it, in the document's order, until one
// is not kept.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "ApplyDocument.h"
#include "Catalogue.h"
#include "ChangeSupport.h"
#include "CommandSupport.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ShownText.h"
#include "StringIds.h"
#include "StringTable.h"
#include "SubmitChanges.h"
#include "SubmitPlan.h"
#include "TargetFile.h"

namespace {

constexpr int kNotWritten = 60120;

// What became of one file of the document.
struct FileOutcome {
    std::string file;    // as a path below the share, or as the document names it before it is found
    std::string result;  // written, unchanged, would change, refused, not kept, not reached
    ChangeSet changes;
    std::string message;
    bool changedFile = false;  // its bytes changed (or, on trial, would)
};

// A file of the document, read and planned.
struct PlannedFile {
    const WantedFile* wanted;
    TargetFile target;
    SharePtr files;
    std::string path;
    std::unique_ptr<SubmitPlan> plan;
};

// The document was refused: the part at where, and why.
struct Refused {
    std::string where;
    std::string why;
    int code = ExitNotFoundOrInvalid;
};

std::string reasonOf(const StoreError& error) {
    const std::string detail = error.Detail();
    return detail.empty() ? error.what() : detail;
}

bool isRequest(const Parameter& parameter) {
    const std::string& spec = parameter.GetTypeSpec();
    return spec.find("{Restart}") != std::string::npos || spec.find("{FactoryDefault}") != std::string::npos;
}

bool isClock(const Parameter& parameter) { return parameter.GetTypeSpec().find("{Write!}") != std::string::npos; }

// Takes one wanted value into the plan, as set takes a value; throws
// Refused naming its part of the document.
void takeValue(const PlannedFile& file, const ParameterHandler& read, const WantedValue& wanted, bool yes) {
    const int s = SectionIndex(read, wanted.section);
    if (s < 0) throw Refused{MemberPath(file.wanted->where, wanted.section), "the file has no such section"};
    const int p = read.SectionAt(s).IndexOf(wanted.key);
    if (p < 0) throw Refused{wanted.where, "the section has no such key"};
    const Parameter& loaded = read.SectionAt(s).ParameterAt(p);
    if (isClock(loaded)) throw Refused{wanted.where, "setting the clock is an action, not a state"};
    if (isRequest(loaded) && !yes) throw Refused{wanted.where, LoadString(kConfirmWithYes)};
    std::ostringstream said;
    std::string value;
    if (!TakeEnteredValue(loaded, wanted.value, EntryPurpose::Set, said, value)) {
        std::string why = said.str();
        while (!why.empty() && why.back() == '\n') why.pop_back();
        throw Refused{wanted.where, why.empty() ? "the value is not taken" : why};
    }
    Parameter edited = loaded;
    edited.SetValue(value);
    edited.SetCheckState(1);
    file.plan->Take(wanted.section, edited, loaded.GetValue());
}

class ApplyCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_option("DOCUMENT", document, "A JSON document of the wanted values, or - for standard input")
            ->required();
        command.add_flag("--dry-run", dryRun, "Check everything, write nothing, print what would change");
        command.add_flag("--yes", yes, "Confirm a restart or factory-defaults request the document makes");
    }

    int Run(const Console& console, const ShareOptions& options) override {
        json = options.json;
        std::vector<WantedFile> wanted;
        DocumentRefusal refusal;
        std::string text;
        if (!readDocument(console, text)) return finish(console, ExitFileError);
        if (!ParseApplyDocument(text, wanted, refusal)) return refuse(console, {refusal.where, refusal.why}, {});
        const SharePtr share = OpenShare(console, options.share);
        if (!share) return finish(console, ExitFileError);
        std::vector<PlannedFile> planned;
        try {
            for (const WantedFile& file : wanted) planned.push_back(plan(share, file));
        } catch (const Refused& refused) {
            return refuse(console, refused, wanted);
        }
        return dryRun ? report(console, planned) : write(console, planned);
    }

private:
    bool readDocument(const Console& console, std::string& text) {
        if (document == "-") {
            if (console.in) text.assign(std::istreambuf_iterator<char>(*console.in), {});
            return true;
        }
        std::ifstream in(document, std::ios::binary);
        if (!in) {
            console.SayUtf8(document + ": " + SystemReason(errno));
            return false;
        }
        text.assign(std::istreambuf_iterator<char>(in), {});
        return true;
    }

    PlannedFile plan(const SharePtr& share, const WantedFile& wanted) {
        PlannedFile file{&wanted, ChooseFile(wanted.name), share, {}, nullptr};
        ParameterHandler read;
        try {
            if (IsServerOnlyFile(*share, file.target.name)) throw Refused{wanted.where, "not a parameter file"};
            file.path = share->PathOf(file.target.name);
            if (!names.insert(share->NameOf(file.path)).second) {
                throw Refused{wanted.where, "names a file the document names already"};
            }
            read.Load(share, file.target.name, CatalogueOf(file.target.kind));
        } catch (const FileException& error) {
            // A file the share lacks is the document's fault; one it cannot read is not.
            const bool lacks = error.SystemCode() == ENOENT;
            throw Refused{wanted.where, reasonOf(error), lacks ? ExitNotFoundOrInvalid : ExitFileError};
        }
        file.plan = std::make_unique<SubmitPlan>(read);
        try {
            for (const WantedValue& value : wanted.values) takeValue(file, read, value, yes);
            file.plan->CheckWritable();
        } catch (const StoreError& error) {
            throw Refused{wanted.where, reasonOf(error), ExitFileError};
        }
        // A file that already asks for the factory settings is reset by the restart a change sends.
        if (file.plan->HasChanges() && file.plan->CarriesPendingFactoryReset() && !yes) {
            throw Refused{wanted.where, LoadString(kPendingFactoryReset)};
        }
        return file;
    }

    int refuse(const Console& console, const Refused& refused, const std::vector<WantedFile>& wanted) {
        const std::string message = refused.where + ": " + refused.why;
        console.SayUtf8(message);
        for (const WantedFile& file : wanted) {
            const std::string& at = refused.where;
            const bool offending = at.compare(0, file.where.size(), file.where) == 0 &&
                                   (at.size() == file.where.size() || at[file.where.size()] == '.' ||
                                    at[file.where.size()] == '[');
            outcomes.push_back({file.name, offending ? "refused" : "not reached", {}, offending ? message : ""});
        }
        return finish(console, refused.code);
    }

    int report(const Console& console, const std::vector<PlannedFile>& planned) {
        for (const PlannedFile& file : planned) {
            const ChangeSet changes = file.plan->Changes();
            outcomes.push_back({changes.file, changes.Empty() ? "unchanged" : "would change", changes, {}, !changes.Empty()});
            if (!json && !changes.Empty()) PrintChangeSet(console, changes, false);
        }
        return finish(console, ExitDone);
    }

    int write(const Console& console, std::vector<PlannedFile>& planned) {
        writing = true;
        int code = ExitDone;
        for (PlannedFile& file : planned) {
            const ChangeSet changes = file.plan->Changes();
            if (code != ExitDone) {
                outcomes.push_back({changes.file, "not reached", changes, {}});
                continue;
            }
            if (changes.Empty()) {
                outcomes.push_back({changes.file, "unchanged", changes, {}});
                continue;
            }
            // What the write says of this file is its message, and the user's too.
            std::ostringstream said;
            const Console fileConsole{console.out, said, console.text, console.credentials, console.share,
                                      console.beforeWrite, console.in};
            code = WriteChanges(fileConsole, *file.plan, file.files, file.path, file.target.kind);
            std::string message = said.str();
            console.err << message;
            while (!message.empty() && message.back() == '\n') message.pop_back();
            // A file the server did not keep all of was still written.
            outcomes.push_back({changes.file, code == ExitDone ? "written" : "not kept", changes, message,
                                file.plan->IsWritten()});
            if (!json && code == ExitDone) PrintChangeSet(console, changes, false);
        }
        return finish(console, code);
    }

    // Says what became of each file: in JSON, every outcome; in text, the
    // files not written after a failure, and that nothing changed.
    int finish(const Console& console, int code) {
        bool changed = false;
        for (const FileOutcome& outcome : outcomes) changed = changed || outcome.changedFile;
        if (json) {
            printJson(console, changed);
        } else if (writing) {
            for (const FileOutcome& outcome : outcomes) {
                if (outcome.result == "not reached") console.SayUtf8(FormatString(kNotWritten, {NameText(outcome.file)}));
            }
        }
        if (code == ExitDone && !changed) console.Message(StringId::NothingChanged, ExitDone);
        return code;
    }

    void printJson(const Console& console, bool changed) const {
        std::ostream& out = console.out;
        out << "{\"changed\": " << (changed ? "true" : "false") << ", \"files\": [";
        for (size_t i = 0; i < outcomes.size(); ++i) {
            const FileOutcome& outcome = outcomes[i];
            out << (i ? ", " : "") << "{\"file\": ";
            PrintJsonText(out, NameText(outcome.file));
            out << ", \"result\": \"" << outcome.result << "\", \"changes\": ";
            PrintChangeList(out, outcome.changes);
            out << ", \"message\": ";
            PrintJsonText(out, outcome.message);
            out << '}';
        }
        out << "]}\n";
    }

    std::string document;
    bool dryRun = false;
    bool yes = false;
    bool json = false;
    bool writing = false;  // past the checks: files are being written
    std::set<std::string> names;  // the files planned, by their share paths
    std::vector<FileOutcome> outcomes;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeApplyCommand() { return std::make_unique<ApplyCommand>(); }
