#pragma once

#include <string>

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

// The address of a network path as the client library writes it
// ("smb://host:port/share/folder"), each part percent-encoded.
std::string SmbAddress(const NetworkPath& network);

// True when the server refused the access (wrong or missing credentials):
// asking the user who they are may help.
bool IsAccessRefused(const StoreError& error);
