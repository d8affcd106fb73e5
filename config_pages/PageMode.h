#pragma once

// What a generated page shows; equal to the CatalogueKind its file loads with.
enum class PageMode : int {
    Configuration = 0,  // one slice of a section of the configuration file
    VolumeRights = 1,   // one volume rights file chosen from a list
    ScsiDrives = 2,     // one volume section of scsi.ini chosen from a list
};
