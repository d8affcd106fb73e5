#include "ServerShare.h"

#include "ShareLocation.h"

std::string MountedFolderOf(const std::string& serverPath) {
    try {
        return ResolveServerPath(serverPath);
    } catch (const ShareNotMounted&) {
        return {};
    }
}

SharePtr OpenServerShare(const std::string& serverPath, const SmbCredentials& credentials) {
    return OpenServerShareAt(serverPath, MountedFolderOf(serverPath), credentials);
}

SharePtr OpenServerShareAt(const std::string& serverPath, const std::string& folder,
                           const SmbCredentials& credentials) {
    if (!folder.empty()) return OpenFolderShare(folder);
    NetworkPath network;
    ParseNetworkPath(serverPath, network);
    return OpenSmbShare(network, credentials);
}
