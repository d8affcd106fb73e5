#pragma once

#include <string>
#include <vector>

// Where a server's share lies on this computer. The server path may be a
// directory (a mounted share) or the share's network name, written
// "//host/share", "\\host\share" or "smb://host/share". A network name is
// found through the mounts the desktop already has: a CIFS mount of that
// share, or the desktop's own (GVFS) mount of it.

// A share named by its network form, split into its parts.
struct NetworkPath {
    std::string host;
    std::string port;  // of an smb:// address that names one; "" for the usual
    std::string share;
    std::vector<std::string> rest;  // folders below the share, if any
};

// text with its "%xx" escapes decoded, as URLs and the desktop's mount
// names write them.
std::string PercentDecoded(const std::string& text);

// text with every byte but letters, digits and "-_.~$" written "%XX".
std::string PercentEncoded(const std::string& text);

// The address of a network path as users and the SMB client write it
// ("smb://host:port/share/folder"), each part percent-encoded.
std::string SmbAddress(const NetworkPath& network);

// A file:// address of a folder of this computer, as a desktop hands one
// to a program ("file:///mnt/tessaron", "file://localhost/mnt/a%20b"), as
// the folder's path; any other text as it is.
std::string FromFileAddress(const std::string& argument);

// True when path is written in one of the network forms; fills network.
// An smb:// address is decoded, then split at "/" and "\". A form without a
// host ("//", "smb://"), or with a ".." among its parts, is not a network
// path.
bool ParseNetworkPath(const std::string& path, NetworkPath& network);

// One line of the mount table.
struct MountEntry {
    std::string source;
    std::string target;
    std::string type;
};

// Parses the text of /proc/self/mounts (octal escapes such as "\040" decoded).
std::vector<MountEntry> ParseMounts(const std::string& mountsText);

// Where to look for the shares that are already mounted.
struct MountSources {
    std::string mountsText;  // contents of the mount table
    std::string gvfsRoot;    // the desktop's mount folder, e.g. /run/user/1000/gvfs
};

// Where the desktop mounts network shares (GVFS): in the session's runtime
// folder ($XDG_RUNTIME_DIR), or /run/user/<uid> when none is set.
std::string GvfsRoot(const char* runtimeDir, unsigned uid);

// The mounts of the running system.
MountSources SystemMountSources();

// A network share this computer has mounted: the folder it is mounted at
// and the share it holds.
struct MountedShare {
    std::string folder;
    NetworkPath network;
};

// The CIFS mounts of the mount table and the desktop's SMB mounts, in that
// order. Only the desktop's mount folder is listed; nothing mounted is read.
std::vector<MountedShare> MountedShares(const MountSources& mounts);

// The address a share is known by, whichever way it was named: the smb://
// address of a network path, or of the network share a folder lies on (with
// the folders below it); otherwise the folder's full path, links resolved.
// It carries no user name or password.
std::string ShareAddress(const std::string& serverPath, const MountSources& mounts);
std::string ShareAddress(const std::string& serverPath);

// Raised when a network path names a share that nothing has mounted (which
// is then reached over SMB).
struct ShareNotMounted {};

// The local directory of serverPath: a directory path is returned unchanged;
// a network path is looked up in the mounts (the longest mounted part of it
// wins, folders below it are appended). Raises ShareNotMounted when no mount
// holds it (the share can then be reached over SMB directly).
std::string ResolveServerPath(const std::string& serverPath, const MountSources& mounts);
std::string ResolveServerPath(const std::string& serverPath);

// What is wrong with a folder given as a server's share: 0 when nothing,
// else the string ID of the message that says so, with "%1" for the folder:
// it does not exist (60021), or holds no configuration file (60022).
int ShareFolderProblem(const std::string& directory);

// The server's name for the window title: the host of a network path; for a
// directory, the host of the network share mounted there; otherwise the
// directory's own name.
std::string ServerName(const std::string& serverPath, const MountSources& mounts);
std::string ServerName(const std::string& serverPath);
