#include "ServerFacts.h"

#include "Catalogue.h"
#include "ParameterHandler.h"
#include "ServerFiles.h"
#include "ServerIdentity.h"

namespace {

constexpr AddressParameter kAddressParameters[ServerFacts::AddressCount] = {
    {"NetWare", "ServerName", "netwareServerName"},
    {"Server", "HardwareAddress", "nodeAddress"},
    {"IP", "InternetAddress", "internetAddress"},
    {"SMB", "ServerName", "smbServerName"},
};

}  // namespace

const AddressParameter& ParameterOf(ServerFacts::Address address) { return kAddressParameters[address]; }

void ReadServerFacts(const SharePtr& share, const std::string& version, ServerFacts& facts) {
    std::string firstLine;
    share->ReadFirstLine(share->PathOf(ServerFile::Configuration), firstLine);
    facts.serialNumber = SerialNumber(firstLine);
    facts.softwareVersion = version;

    ParameterHandler handler;
    handler.Load(share, ServerFile::Configuration, CatalogueOf(Configuration));
    for (int a = 0; a < ServerFacts::AddressCount; ++a) {
        const AddressParameter& where = kAddressParameters[a];
        facts.found[a] = handler.GetValue(where.section, where.key, facts.addresses[a]);
    }
}

bool KeepsEventLog(const std::string& version) { return !(version < std::string("3.07")); }
