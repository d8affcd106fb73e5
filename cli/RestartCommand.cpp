// restart: asks the server to restart, or to return to its factory settings.
#include <CLI/CLI.hpp>

#include "CommandSupport.h"
#include "FileException.h"
#include "ServerRequests.h"
#include "StringIds.h"

namespace {

constexpr int kRestartQuestion = 115;
constexpr int kFactoryDefaultsQuestion = 116;
constexpr int kConfirmFactoryReset = 60020;

class RestartCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_flag("--factory-defaults", factoryDefaults, "Return to factory settings as well");
        command.add_flag("--yes", yes, "Confirm the request");
    }

    int Run(const Console& console, const ShareOptions& options) override {
        if (!yes) {
            console.Message(factoryDefaults ? kFactoryDefaultsQuestion : kRestartQuestion, ExitDone);
            return console.Message(kConfirmWithYes, ExitNotFoundOrInvalid);
        }
        const SharePtr opened = OpenShare(console, options.share);
        if (!opened) return ExitFileError;
        try {
            ServerRequest request(opened, factoryDefaults ? ServerRequest::FactoryDefaults : ServerRequest::Restart);
            // --yes confirms a restart; a reset needs --factory-defaults too.
            if (request.CarriesPendingFactoryReset()) {
                console.Message(kPendingFactoryReset, ExitDone);
                return console.Message(kConfirmFactoryReset, ExitNotFoundOrInvalid);
            }
            request.Send();
        } catch (const FileException& error) {
            return console.Failure(StringId::NoCommunication, error, ExitFileError);
        }
        return console.Message(StringId::ServerRestarting, ExitDone);
    }

private:
    bool factoryDefaults = false;
    bool yes = false;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeRestartCommand() { return std::make_unique<RestartCommand>(); }
