#pragma once

#include <string>

#include "Share.h"
#include "SmbShare.h"

// The folder of this computer a server path names: a folder path as it is,
// a network path ("//host/share", "\\host\share", "smb://host[:port]/share")
// through the mount this computer already has of it (CIFS or the desktop's
// own); "" for a network path that nothing has mounted.
std::string MountedFolderOf(const std::string& serverPath);

// The share a server path names: the folder above, or, for a network path
// that nothing has mounted, the share reached straight over SMB with the
// credentials given.
SharePtr OpenServerShare(const std::string& serverPath, const SmbCredentials& credentials);
// The same for a server path whose folder MountedFolderOf has given
// already ("" for a network path that nothing has mounted).
SharePtr OpenServerShareAt(const std::string& serverPath, const std::string& mountedFolder,
                           const SmbCredentials& credentials);
