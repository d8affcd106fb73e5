#pragma once

#include <string>
#include <vector>

#include "ChangeSet.h"
#include "Messages.h"
#include "ServerRequests.h"
#include "Share.h"

class StoreError;

// What a tool (the configuration sheet, the Quick Installation form, the
// management sheet, and the pages and dialogs inside them) needs of the
// program around it: the server's share and facts, the message routine, the
// parameters-changed flag, the help context, the server's requests, the
// history of the writes and the end of the program. The program's application object implements it; the
// tools know nothing else of the program, and never reach its main window.
class ToolHost {
public:
    // The host of the program now running; one must exist (else
    // std::logic_error).
    static ToolHost& Get();

    // The server's share: every file a tool reads, lists or writes.
    virtual const SharePtr& GetShare() const = 0;
    // The software version the server named when it was identified.
    virtual std::string GetServerVersion() const = 0;
    // The product's title as the build brands it, for the tools' dialogs.
    virtual std::string GetBrandedTitle() const = 0;

    // A string-table message; answers the MessageResult of the pressed
    // button.
    virtual int ShowMessage(int stringId, unsigned type = MessageType::Ok) = 0;
    // Message stringId, its "%1" standing for name (a name from the file
    // system), with detail (UTF-8) as the box's details.
    virtual int ShowNamedMessage(int stringId, const std::string& name, const std::string& detail = {}) = 0;
    // An action failed on a server file: its message stringId, with what
    // failed and why as the box's details.
    virtual void ReportFailure(int stringId, const StoreError& error) = 0;

    // Asks a submit's confirmations (SubmitPlan::Questions), in order; true
    // when every one was answered Yes. A factory reset's question has No as
    // its default.
    virtual bool ConfirmQuestions(const std::vector<int>& questions) = 0;
    // Keeps a write a tool made in the share's history, after the write:
    // what it changed, the file's bytes before and after it, and whether
    // reading it back confirmed it (kept). Never fails: a history that
    // cannot be written is said once, and the write stands.
    virtual void RecordWrite(const ChangeSet& changes, const std::string& before, const std::string& after,
                             bool kept) = 0;

    // Settings were submitted that need a restart (true), or the restart
    // is under way (false): closing the program offers a restart when set.
    virtual void SetParametersChanged(bool changed) = 0;
    // The help topic F1 and the Help buttons show from now on.
    virtual void SetHelpContext(int context) = 0;

    // Asks the server to restart, or to return to its factory settings:
    // asks first when the file already holds a factory reset, writes, says
    // how it went. True when sent.
    virtual bool SendServerRequest(ServerRequest::Kind kind) = 0;
    // Ends the program through its close sequence once the current event
    // has been handled (the server is about to restart).
    virtual void EndProgram() = 0;

protected:
    ToolHost() = default;
    ~ToolHost() = default;
};
