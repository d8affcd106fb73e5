#include "Listings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string_view>
#include <unordered_map>

#include "ServerFiles.h"
#include "TextRules.h"

namespace {

constexpr const char* VolumesFolder = "Volumes";

// Entries of a folder of the given kind, sorted, hidden ones left out.
std::vector<std::string> namesIn(const Share& share, const std::string& folder, Share::EntryKind kind) {
    std::vector<std::string> names;
    for (const Share::Entry& entry : share.List(share.PathOf(folder))) {
        if (entry.kind == kind && !entry.name.empty() && entry.name[0] != '.') names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return LessIgnoringCase(a, b); });
    return names;
}

void addFiles(const Share& share, const std::string& folder, const std::string& volume,
              std::vector<VolumeRightsFile>& files) {
    for (const std::string& name : namesIn(share, folder, Share::EntryKind::File)) {
        files.push_back({volume + " - " + name.substr(0, name.find('.')), folder + "/" + name});
    }
}

}  // namespace

bool KeepsVolumeRightsFlat(const std::string& serverVersion) {
    return std::string("3.00 3.01").find(serverVersion) != std::string::npos;
}

VolumeRightsListing ListVolumeRightsFiles(const Share& share, const std::string& serverVersion) {
    VolumeRightsListing listing;
    std::vector<std::string> volumes;
    try {
        if (KeepsVolumeRightsFlat(serverVersion)) {
            addFiles(share, VolumesFolder, VolumesFolder, listing.files);
            return listing;
        }
        volumes = namesIn(share, VolumesFolder, Share::EntryKind::Folder);
    } catch (const FileException& error) {
        if (error.SystemCode() != ENOENT) throw;
        listing.missingFolder = share.PathOf(VolumesFolder);
        return listing;
    }
    for (const std::string& volume : volumes) {
        try {
            addFiles(share, std::string(VolumesFolder) + "/" + volume, volume, listing.files);
        } catch (const FileException& error) {
            listing.unreadable.push_back({volume, error});
        }
    }
    return listing;
}

std::vector<std::string> ListScsiDrives(const ParameterHandler& scsi) {
    std::vector<std::string> drives;
    for (int s = 0; s < scsi.GetSectionCount(); ++s) {
        const std::string& name = scsi.SectionAt(s).GetName();
        if (name.find("LUN") != std::string::npos) drives.push_back(name);
    }
    return drives;
}

std::string DriveSectionOf(const std::string& lunSection) {
    int drive = 0;
    if (std::sscanf(lunSection.c_str(), "ID%d_LUN", &drive) != 1) return {};
    return "ID_" + std::to_string(drive);
}

std::vector<std::string> DrivesOf(const ParameterHandler& scsi, const std::vector<std::string>& lunSections) {
    std::unordered_map<std::string_view, int> sections;
    for (int s = scsi.GetSectionCount() - 1; s >= 0; --s) sections[scsi.SectionAt(s).GetName()] = s;
    std::vector<std::string> drives;
    drives.reserve(lunSections.size());
    for (const std::string& lun : lunSections) {
        std::string drive;
        const auto found = sections.find(DriveSectionOf(lun));
        if (found != sections.end()) scsi.SectionAt(found->second).GetValue("Drive", drive);
        drives.push_back(drive);
    }
    return drives;
}
