// check: a value as a configuration page's row would take it.
#include <CLI/CLI.hpp>

#include "CommandSupport.h"

namespace {

class CheckCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_option("SPEC", typeSpec, "Type string, e.g. \"{Type Edit} {DDV IP}\"")->required();
        command.add_option("VALUE", value, "The text typed")->required();
        command.add_option("--comment", comment, "The parameter's comment (choices, \"Cannot be changed\")");
    }
    std::vector<std::string*> ServerText() override { return {&typeSpec, &value, &comment}; }

    int Run(const Console& console, const ShareOptions&) override {
        Parameter parameter("", "", comment, 0);
        parameter.SetTypeSpec(typeSpec);
        std::string taken;
        if (!TakeEntered(console, parameter, value, EntryPurpose::Check, taken)) return ExitNotFoundOrInvalid;
        console.Print(taken + "\n");
        return ExitDone;
    }

private:
    std::string typeSpec;
    std::string value;
    std::string comment;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeCheckCommand() { return std::make_unique<CheckCommand>(); }
