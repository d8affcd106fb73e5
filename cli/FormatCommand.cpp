// format: a parameter file of this computer in its canonical written form.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "Catalogue.h"
#include "ChangeHistory.h"
#include "ChangeSupport.h"
#include "CommandSupport.h"
#include "FileException.h"
#include "ParameterHandler.h"
#include "ServerFiles.h"
#include "ShareLocation.h"
#include "StringIds.h"
#include "StringTable.h"
#include "TargetFile.h"

namespace {

constexpr int kInPlaceNeedsFile = 60035;

// A file rewritten on a share (a folder above it holds Config/Config.ini)
// goes into that share's history: the same parameters, so no change of a
// value, but its old bytes kept. The read-back confirms the parameters.
void recordOnShare(const Console& console, const ParameterHandler& written, const std::string& path,
                   const std::string& before) {
    const std::string folder = ShareFolderAbove(path);
    if (folder.empty()) return;
    const SharePtr share = OpenFolderShare(folder);
    const CatalogueKind kind = KindOfPath(path);
    bool kept = false;
    try {
        kept = CompareStores(StoreOfBytes(share->Read(path), kind), written).empty();
    } catch (const FileException&) {
        // not confirmed
    }
    RecordCtlWrite(console, ShareAddress(folder), *share, {share->NameOf(path), {}}, before, written.GetBytes(), kept);
}

class FormatCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_option("FILE", file, "The parameter file, or - for standard input")->required();
        command.add_flag("--in-place", inPlace, "Rewrite the file itself in that form");
    }
    void Parsed(const CLI::App&, std::vector<std::string>) override {
        if (inPlace && file == "-") throw CLI::ValidationError(LoadString(kInPlaceNeedsFile));
    }

    int Run(const Console& console, const ShareOptions&) override {
        ParameterHandler handler;
        if (file == "-") {
            std::string text;
            if (console.in) text.assign(std::istreambuf_iterator<char>(*console.in), std::istreambuf_iterator<char>());
            handler.ReadText(text);
            CatalogueOf(Configuration).Apply(handler);
            console.out << handler.Format();
            return ExitDone;
        }
        // A file the user names on this computer, not a name from a share:
        // relative to the working directory.
        std::error_code failed;
        const std::filesystem::path absolute = std::filesystem::absolute(file, failed);
        const std::string path = failed ? file : absolute.string();
        if (inPlace && IsServerOnlyLocalFile(path)) {
            console.Say(FormatString(kNotAParameterFile, {file}));
            return ExitNotFoundOrInvalid;
        }
        try {
            handler.Load(OpenLocalFiles(), path, CatalogueOf(KindOfPath(path)));
        } catch (const FileException& error) {
            return console.Failure(inPlace ? StringId::NoCommunication : kNoParameterFile, error, ExitFileError);
        }
        if (!inPlace) {
            console.out << handler.Format();
            return ExitDone;
        }
        const std::string before = handler.GetBytes();
        try {
            handler.Write();
        } catch (const FileException& error) {
            return console.Failure(StringId::NoCommunication, error, ExitFileError);
        }
        recordOnShare(console, handler, path, before);
        return ExitDone;
    }

private:
    std::string file;  // a path of this computer, or "-" for standard input
    bool inPlace = false;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeFormatCommand() { return std::make_unique<FormatCommand>(); }
