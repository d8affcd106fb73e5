#pragma once

#include <span>
#include <string>

#include "CatalogueKind.h"
#include "ParameterCatalogue.h"

// The parameters this program knows, by kind of file: a display name (a
// string-table ID) and a type string for each known key, and a page
// title for each known section. The file decides which parameters exist; a
// catalogue only annotates those the file holds.

struct CatalogueRow {
    const char* section;
    const char* key;       // nullptr: a section row, which gives the section its title
    int id;                // title ID of a section row, name ID of a parameter row
    const char* typeSpec;  // type string; nullptr for a section row
};

// Rows of \Config\Config.ini, each section's title row before its parameters.
std::span<const CatalogueRow> ConfigurationCatalogueRows();
// Rows of a volume rights file (all in the unnamed section), title row first.
std::span<const CatalogueRow> VolumeRightsCatalogueRows();

// The type string of the time-zone choice list.
extern const char* const TimeZoneTypeString;

// The catalogue of a kind of file, for ParameterHandler::Load.
const ParameterCatalogue& CatalogueOf(CatalogueKind kind);

// The kind of a parameter file by where it lies and how it is named: a file
// in a folder named Volumes, or in a folder of one (any case), holds volume
// rights, a file named scsi.ini (any case) the SCSI drives, any other the
// configuration.
CatalogueKind KindOfPath(const std::string& path);
