// describe: every parameter of a file with its name, type and check.
#include "CommandSupport.h"
#include "ParameterHandler.h"
#include "ShownText.h"
#include "StringTable.h"
#include "TargetFile.h"

namespace {

std::string displayName(const Parameter& parameter) {
    const std::string name = parameter.GetNameId() != 0 ? LoadString(parameter.GetNameId()) : std::string();
    return name.empty() ? parameter.GetKey() : name;
}

// One line of tab-separated fields; no field's own tab or control character
// forges a field or a line.
void printLine(const Console& console, const ParameterSection& section, const Parameter& parameter) {
    std::string line;
    for (const std::string& field : {section.GetName(), parameter.GetKey(), displayName(parameter),
                                     parameter.GetTypeWord(), parameter.GetDDV(), parameter.GetValue()}) {
        line += (line.empty() ? "" : "\t") + EscapeServerControls(field);
    }
    console.Print(line + '\n');
}

// One JSON object; JSON text is Unicode: the file's bytes go through their
// code page.
void printObject(const Console& console, const ParameterSection& section, const Parameter& parameter) {
    console.out << '{';
    const std::pair<const char*, std::string> fields[] = {
        {"section", section.GetName()},     {"key", parameter.GetKey()}, {"name", displayName(parameter)},
        {"type", parameter.GetTypeWord()},  {"ddv", parameter.GetDDV()}, {"value", parameter.GetValue()},
        {"comment", parameter.GetComment()},
    };
    for (const auto& [name, value] : fields) {
        console.out << '"' << name << "\": ";
        PrintJsonString(console.out, value);
        console.out << ", ";
    }
    console.out << "\"indented\": " << parameter.GetIndented() << ", \"typeSpec\": ";
    PrintJsonString(console.out, parameter.GetTypeSpec());
    console.out << '}';
}

class DescribeCommand final : public CtlCommand {
public:
    int Run(const Console& console, const ShareOptions& options) override {
        ParameterHandler handler;
        TargetFile target;
        if (const int failed = LoadTarget(console, options, kNoParameterFile, handler, target)) return failed;
        // Written as it goes: a large file is never held a second time as text.
        bool first = true;
        if (options.json) console.out << '[';
        for (int s = 0; s < handler.GetSectionCount(); ++s) {
            const ParameterSection& section = handler.SectionAt(s);
            for (int p = 0; p < section.GetParameterCount(); ++p) {
                if (!options.json) {
                    printLine(console, section, section.ParameterAt(p));
                    continue;
                }
                console.out << (first ? "\n  " : ",\n  ");
                first = false;
                printObject(console, section, section.ParameterAt(p));
            }
        }
        if (options.json) console.out << (first ? "]\n" : "\n]\n");
        return ExitDone;
    }
};

}  // namespace

std::unique_ptr<CtlCommand> MakeDescribeCommand() { return std::make_unique<DescribeCommand>(); }
