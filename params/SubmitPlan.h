#pragma once

#include <string>
#include <vector>

#include "CatalogueKind.h"
#include "ChangeSet.h"
#include "ParameterHandler.h"

// One submit to one server file, as the configuration pages, tessaron-ctl
// set and the Quick Installation form all make it: the values go into the
// plan's own copy of the store read from the file, the file is written once,
// and reading it back tells whether the server kept the values. Edited
// parameters (Take) also get the server's write mark, and their restart and
// factory-default requests need a confirmation; a form's settings (Set) go in
// as they stand.
//
// The copy is the plan's alone: a submit that is declined or fails leaves
// nothing behind for the next one, which starts again from the file as read.
//
// The caller asks the questions (a window with message boxes, the command
// line through --yes); the plan only says which, in which order.
class SubmitPlan {
public:
    // store: the file as read, copied (or moved, by a caller that is done
    // with it) into the plan; written by Write.
    explicit SubmitPlan(ParameterHandler store);

    // One parameter of section as the user left it, against the value it was
    // loaded with. A changed value goes into the store; a "NoCheck"
    // parameter, or an "EditCheck" one with its box ticked (check state 1),
    // gets its write mark. Raises ParameterHandler::ParameterError or
    // ParameterNotFound when the store lacks the section or key.
    void Take(const std::string& section, const Parameter& edited, const std::string& loadedValue);

    // One setting of a form, put into the store as it stands whether changed
    // or not; a key the store lacks is left alone. It carries no write mark
    // and asks nothing. verified: reading the file back must find exactly
    // this text (or, for a key it lacks, an empty one); a setting not
    // verified counts as kept.
    void Set(const std::string& section, const std::string& key, const std::string& value, bool verified);

    // Some taken value differs from the value it was loaded with.
    bool HasChanges() const { return changed; }

    // What the write makes of the file, known before it is made: every
    // parameter whose stored value it replaces (the restart that goes with
    // a factory reset included), with the value the file held and the one
    // written, in the order they were taken. A value only spelled
    // differently is no change.
    ChangeSet Changes() const;
    // After Write: the file's bytes before it and the bytes it wrote.
    const std::string& BytesBefore() const { return bytesBefore; }
    const std::string& BytesAfter() const { return store.GetBytes(); }

    // String IDs of the confirmations to ask, in order, before writing; any
    // answer but Yes means nothing may be written. A factory-default request
    // already in the file comes first: the restart this write sends would
    // carry it out. A plan of settings alone sends no request and asks none.
    std::vector<int> Questions() const;
    // The file asks for the factory defaults without any taken parameter
    // doing so: the reason for the first question.
    bool CarriesPendingFactoryReset() const;

    // Raises the FileException that Write would raise before writing
    // anything (a factory reset the file has no Restart key to carry out):
    // what a trial run checks.
    void CheckWritable() const;
    // Writes the plan's store (with Restart = "yes" beside FactoryDefaults =
    // "yes", when it took an edited parameter). Raises FileException; a
    // failed write leaves the file as it was.
    void Write();
    // After Write: the store as written, for a caller that keeps the file as
    // it last read or wrote it. The plan keeps only what confirms the write.
    ParameterHandler ReleaseWritten();
    // Write has written the file (whatever the server then made of it).
    bool IsWritten() const { return written; }
    // The write asked the server to restart: there is nothing to verify, the
    // server is about to go away.
    bool AsksRestart() const { return written ? restartSent : !Questions().empty(); }
    // What became of one taken value in the file read back: kept (or not
    // checked after a submit), another value, or no such parameter.
    struct Verdict {
        std::string section;
        std::string key;
        std::string sent;
        bool kept = false;
        bool present = false;  // readBack has the parameter
        std::string now;       // its value there
    };
    // One verdict per taken parameter, section by section in the order
    // taken; then one per setting, in the order set.
    std::vector<Verdict> Verdicts(const ParameterHandler& readBack) const;
    // The server kept what was submitted: readBack holds each taken
    // parameter with its value, except those not checked after a submit.
    bool ConfirmedBy(const ParameterHandler& readBack) const;

    // The message of a confirmed submit: 125 for the configuration file
    // (whose changes need a restart), 136 for the others.
    static int SuccessMessage(CatalogueKind kind);

private:
    struct Setting {
        std::string section;
        std::string key;
        std::string value;
        bool verified;
    };
    void judgeSettings(const ParameterHandler& readBack, std::vector<Verdict>& verdicts) const;
    void noteBefore(const std::string& section, const std::string& key);

    ParameterHandler store;
    // Each parameter the plan may change, with the value the file held.
    std::vector<Change> touched;
    std::string restartBefore;  // Server/Restart as the file held it
    std::string bytesBefore;
    std::vector<ParameterSection> submitted;
    std::vector<Setting> settings;
    bool sendsRequests = false;  // an edited parameter was taken
    std::vector<int> rowQuestions;
    bool changed = false;
    bool written = false;
    bool restartSent = false;
};
