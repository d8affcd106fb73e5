// drives: the SCSI drives of scsi.ini with their drive names, as their page
// lists them.
#include "Catalogue.h"
#include "CommandSupport.h"
#include "FileException.h"
#include "Listings.h"
#include "ParameterHandler.h"
#include "ServerFiles.h"
#include "ShownText.h"
#include "StringIds.h"

namespace {

class DrivesCommand final : public CtlCommand {
public:
    int Run(const Console& console, const ShareOptions& options) override {
        const SharePtr opened = OpenShare(console, options.share);
        if (!opened) return ExitFileError;
        ParameterHandler scsi;
        try {
            scsi.Load(opened, ServerFile::ScsiDrives, CatalogueOf(ScsiDrives));
        } catch (const FileException& error) {
            return console.Failure(kNoParameterFile, error, ExitFileError);
        }
        const std::vector<std::string> sections = ListScsiDrives(scsi);
        const std::vector<std::string> drives = DrivesOf(scsi, sections);
        std::vector<std::pair<std::string, std::string>> entries;
        entries.reserve(sections.size());
        for (size_t i = 0; i < sections.size(); ++i) {
            entries.emplace_back(Cp1252ToUtf8(sections[i]), Cp1252ToUtf8(drives[i]));
        }
        if (entries.empty()) console.Message(StringId::NoDrives, ExitDone);
        PrintListing(console, entries, options.json, "drive");
        return ExitDone;
    }
};

}  // namespace

std::unique_ptr<CtlCommand> MakeDrivesCommand() { return std::make_unique<DrivesCommand>(); }
