#pragma once

// Selects the built-in catalogue that ParameterHandler::Load applies.
enum CatalogueKind : int {
    Configuration = 0,  // \Config\Config.ini
    VolumeRights = 1,   // a volume rights file under \Volumes
    ScsiDrives = 2,     // \Config\scsi.ini
};
