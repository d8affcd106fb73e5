#pragma once

#include <array>
#include <string>

#include "Share.h"

// What the management sheet's General page, and `tessaron-ctl info`, tell
// about a server: its serial number and software version, and four of its
// names and addresses, each with whether the configuration file has it.
struct ServerFacts {
    // In the order they are looked up.
    enum Address { NetWareServerName, NodeAddress, InternetAddress, SmbServerName, AddressCount };

    std::string serialNumber;
    std::string softwareVersion;
    std::array<std::string, AddressCount> addresses;
    std::array<bool, AddressCount> found{};
};

// Where an address is kept in the configuration file, and the name
// tessaron-ctl prints it under.
struct AddressParameter {
    const char* section;
    const char* key;
    const char* name;
};
const AddressParameter& ParameterOf(ServerFacts::Address address);

// Fills facts in this order: the serial number from the configuration
// file's first line, the software version (the one the server was
// identified with), the four addresses from the file. Raises FileException
// when the file cannot be read; what was filled in before stays.
void ReadServerFacts(const SharePtr& share, const std::string& version, ServerFacts& facts);

// Servers keep an event log from software version 3.07 on; the versions are
// compared byte by byte, so "Unknown" counts as newer and "" as older.
bool KeepsEventLog(const std::string& version);
