// volumes: the volume rights files, as their page lists them.
#include "CommandSupport.h"
#include "FileException.h"
#include "Listings.h"
#include "ServerIdentity.h"
#include "ShownText.h"
#include "StringIds.h"
#include "StringTable.h"

namespace {

constexpr int kFolderMissing = 60021;

// Says which volume folders could not be read, each once; false when one could not.
bool sayUnreadable(const Console& console, const VolumeRightsListing& listing) {
    for (const UnreadableVolume& folder : listing.unreadable) {
        console.SayUtf8(FormatString(StringId::UnreadableVolume, {ShownName(folder.volume)}) + " (" +
                        ShownName(folder.error.Detail()) + ")");
    }
    return listing.unreadable.empty();
}

class VolumesCommand final : public CtlCommand {
public:
    int Run(const Console& console, const ShareOptions& options) override {
        const SharePtr opened = OpenShare(console, options.share);
        if (!opened) return ExitFileError;
        VolumeRightsListing listing;
        try {
            // The server's version decides where its volume rights files lie.
            std::string firstLine;
            const bool lineFound = ReadFirstLine(console, *opened, firstLine);
            listing = ListVolumeRightsFiles(*opened, IdentifyFirstLine(lineFound, firstLine).version);
        } catch (const FileException& error) {
            return console.Failure(kNoParameterFile, error, ExitFileError);
        }
        // Names come from the file system: shown as they are, so that a line's
        // file works as --file.
        std::vector<std::pair<std::string, std::string>> entries;
        for (const VolumeRightsFile& file : listing.files) entries.emplace_back(NameText(file.line), NameText(file.name));
        const bool allRead = sayUnreadable(console, listing);
        if (!listing.missingFolder.empty()) {
            console.SayUtf8(FormatString(kFolderMissing, {ShownName(listing.missingFolder)}));
        } else if (entries.empty() && allRead) {
            console.Message(StringId::NoVolumeRightsFiles, ExitDone);
        }
        PrintListing(console, entries, options.json, "file");
        return allRead ? ExitDone : ExitFileError;
    }
};

}  // namespace

std::unique_ptr<CtlCommand> MakeVolumesCommand() { return std::make_unique<VolumesCommand>(); }
