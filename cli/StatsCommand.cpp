// stats: the server's statistics, line by line.
#include "CommandSupport.h"
#include "ServerReports.h"

namespace {

class StatsCommand final : public CtlCommand {
public:
    int Run(const Console& console, const ShareOptions& options) override {
        return PrintReport(console, options, StatisticsReport);
    }
};

}  // namespace

std::unique_ptr<CtlCommand> MakeStatsCommand() { return std::make_unique<StatsCommand>(); }
