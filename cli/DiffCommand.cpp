// diff: the share's file against a file of this computer or the same file
// of another share, parameter by parameter as the store reads them.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <system_error>

#include "Catalogue.h"
#include "ChangeHistory.h"
#include "CommandSupport.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ShownText.h"
#include "StringTable.h"
#include "TargetFile.h"

namespace {

// What a side shows of a value: "-" for a side without it, a password
// masked.
std::string shown(const std::string& key, const std::optional<std::string>& value) {
    return value ? EscapeServerControls(ShownValue(key, *value)) : "-";
}

void printJsonSide(const Console& console, const char* name, const std::string& key,
                   const std::optional<std::string>& value) {
    console.out << ", \"" << name << "\": ";
    if (value) {
        PrintJsonString(console.out, ShownValue(key, *value));
    } else {
        console.out << "null";
    }
}

void printDifferences(const Console& console, const std::vector<Difference>& differences, bool json) {
    if (!json) {
        for (const Difference& d : differences) {
            console.Print(EscapeServerControls(d.section) + '\t' + EscapeServerControls(d.key) + '\t' +
                          shown(d.key, d.mine) + '\t' + shown(d.key, d.other) + '\n');
        }
        return;
    }
    console.out << "{\"differences\": [";
    for (size_t i = 0; i < differences.size(); ++i) {
        const Difference& d = differences[i];
        console.out << (i == 0 ? "\n  {\"section\": " : ",\n  {\"section\": ");
        PrintJsonString(console.out, d.section);
        console.out << ", \"key\": ";
        PrintJsonString(console.out, d.key);
        printJsonSide(console, "this", d.key, d.mine);
        printJsonSide(console, "other", d.key, d.other);
        console.out << '}';
    }
    console.out << (differences.empty() ? "]}\n" : "\n]}\n");
}

class DiffCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_option("OTHER", other, "A parameter file of this computer, or another share")->required();
    }

    int Run(const Console& console, const ShareOptions& options) override {
        ParameterHandler mine;
        TargetFile target;
        if (const int failed = LoadTarget(console, options, kNoParameterFile, mine, target)) return failed;
        ParameterHandler theirs;
        if (const int failed = loadOther(console, target, theirs)) return failed;
        const std::vector<Difference> differences = CompareStores(mine, theirs);
        printDifferences(console, differences, options.json);
        return differences.empty() ? ExitDone : ExitNotFoundOrInvalid;
    }

private:
    // OTHER: a regular file of that name, else a share, whose file of the
    // same --file is read; both with the catalogue of this share's file.
    int loadOther(const Console& console, const TargetFile& target, ParameterHandler& theirs) const {
        std::error_code failed;
        const bool isFile = std::filesystem::is_regular_file(other, failed);
        const SharePtr files = isFile ? OpenLocalFiles() : OpenShare(console, other);
        if (!files) return ExitFileError;
        const std::filesystem::path absolute = isFile ? std::filesystem::absolute(other, failed) : "";
        try {
            theirs.Load(files, isFile ? absolute.string() : target.name, CatalogueOf(target.kind));
        } catch (const FileException& error) {
            return console.Failure(kNoParameterFile, error, ExitFileError);
        }
        return ExitDone;
    }

    std::string other;  // a path of this computer, or a SHARE
};

}  // namespace

std::unique_ptr<CtlCommand> MakeDiffCommand() { return std::make_unique<DiffCommand>(); }
