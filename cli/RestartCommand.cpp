// restart: asks the server to restart, or to return to its factory settings;
// or, on trial, shows what the request would write.
#include <CLI/CLI.hpp>

#include "ChangeSupport.h"
#include "CommandSupport.h"
#include "ConsoleExchange.h"
#include "FileException.h"
#include "ServerRequests.h"
#include "ShareLocation.h"
#include "StringIds.h"
#include "StringTable.h"

namespace {

constexpr int kRestartQuestion = 115;
constexpr int kFactoryDefaultsQuestion = 116;
constexpr int kConfirmFactoryReset = 60020;

class RestartCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_flag("--factory-defaults", factoryDefaults, "Return to factory settings as well");
        command.add_flag("--yes", yes, "Confirm the request");
        command.add_flag("--dry-run", dryRun, "Print what the request would write, but write nothing");
    }
    void Parsed(const CLI::App& command, std::vector<std::string>) override { RequireDryRunForJson(command, dryRun); }

    int Run(const Console& console, const ShareOptions& options) override {
        const int question = factoryDefaults ? kFactoryDefaultsQuestion : kRestartQuestion;
        if (!yes && !dryRun) {
            console.Message(question, ExitDone);
            return console.Message(kConfirmWithYes, ExitNotFoundOrInvalid);
        }
        const SharePtr opened = OpenShare(console, options.share);
        if (!opened) return ExitFileError;
        try {
            ServerRequest request(opened, factoryDefaults ? ServerRequest::FactoryDefaults : ServerRequest::Restart);
            const ChangeSet changes = request.Changes();
            // --yes confirms a restart; a reset needs --factory-defaults too.
            const bool pending = request.CarriesPendingFactoryReset();
            if (dryRun) {
                std::vector<std::string> confirmations;
                if (pending) confirmations.push_back(LoadString(kPendingFactoryReset));
                confirmations.push_back(LoadString(CommandLineMessageId(question)));
                return EndDryRun(console, changes, confirmations, yes && !pending,
                                 pending ? kConfirmFactoryReset : kConfirmWithYes, options.json);
            }
            if (pending) {
                console.Message(kPendingFactoryReset, ExitDone);
                return console.Message(kConfirmFactoryReset, ExitNotFoundOrInvalid);
            }
            request.Send();
            const SubmitPlan& sent = request.Sent();
            // The server restarts: there is nothing to read back.
            const std::string address = ShareAddress(options.share);
            RecordCtlWrite(console, address, *opened, changes, sent.BytesBefore(), sent.BytesAfter(), true);
        } catch (const FileException& error) {
            return console.Failure(StringId::NoCommunication, error, ExitFileError);
        }
        return console.Message(StringId::ServerRestarting, ExitDone);
    }

private:
    bool factoryDefaults = false;
    bool yes = false;
    bool dryRun = false;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeRestartCommand() { return std::make_unique<RestartCommand>(); }
