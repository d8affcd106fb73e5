// get: the stored value of one parameter.
#include <CLI/CLI.hpp>

#include "CommandSupport.h"
#include "ParameterHandler.h"
#include "TargetFile.h"

namespace {

class GetCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_option("SECTION", section, "Section name; \"\" for the lines before the first section")->required();
        command.add_option("KEY", key, "Parameter key")->required();
    }
    std::vector<std::string*> ServerText() override { return {&section, &key}; }

    int Run(const Console& console, const ShareOptions& options) override {
        ParameterHandler handler;
        TargetFile target;
        if (const int failed = LoadTarget(console, options, kNoParameterFile, handler, target)) return failed;
        const int s = SectionIndex(handler, section);
        std::string value;
        if (s < 0 || !handler.SectionAt(s).GetValue(key, value)) {
            SayMissing(console, handler, target, section, s, key);
            return ExitNotFoundOrInvalid;
        }
        console.Print(value + "\n");
        return ExitDone;
    }

private:
    std::string section;
    std::string key;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeGetCommand() { return std::make_unique<GetCommand>(); }
