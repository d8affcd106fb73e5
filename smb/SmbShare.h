#pragma once

#include <string>
#include <vector>

#include "Share.h"
#include "StoreError.h"
#include "ShareLocation.h"

// What the server is told when it asks who connects: a user name and
// password, or nothing at all for guest access.
struct SmbCredentials {
    std::string user;  // "" for guest access; "DOMAIN\user" names a domain
    std::string password;
};

// The credentials the environment gives: TESSARON_SMB_USER and
// TESSARON_SMB_PASSWORD, each "" when unset.
SmbCredentials CredentialsFromEnvironment();

// A share reached straight over SMB with Samba's client library, for a
// network path that no mount of this computer holds. Files are opened
// without sharing (deny all), as the appliance expects; names are joined as
// the server matches them, without regard to case; a name that climbs out
// of the share ("..") is refused. Failures say what failed: the server that
// cannot be reached, the share that does not exist, the access refused.
SharePtr OpenSmbShare(const NetworkPath& network, const SmbCredentials& credentials);

// The shares a host's SMB server lists, its hidden ones left out. Raises
// FileException, saying that the server cannot be found or reached, or
// that it refused access.
std::vector<std::string> ListSmbShares(const NetworkPath& host, const SmbCredentials& credentials);

// True when the server refused the access (wrong or missing credentials):
// asking the user who they are may help.
bool IsAccessRefused(const StoreError& error);
