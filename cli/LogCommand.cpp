// log: the server's event log, line by line.
#include "CommandSupport.h"
#include "ServerReports.h"

namespace {

class LogCommand final : public CtlCommand {
public:
    int Run(const Console& console, const ShareOptions& options) override {
        return PrintReport(console, options, EventLogReport);
    }
};

}  // namespace

std::unique_ptr<CtlCommand> MakeLogCommand() { return std::make_unique<LogCommand>(); }
