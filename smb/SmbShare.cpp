#include "SmbShare.h"

#include <fcntl.h>
#include <netdb.h>
#include <libsmbclient.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "FileException.h"
#include "ShareFile.h"

namespace {

constexpr const char* Outside = "lies outside the server's share";
constexpr const char* InUse = "the file is in use by another program";
constexpr auto RetryInterval = std::chrono::milliseconds(100);
constexpr auto Patience = std::chrono::seconds(2);
constexpr int TimeoutMs = 10000;


// The reasons the library gives when there is no server to talk to: none
// answers, or the one that did has gone away.
bool unreachable(int code) {
    switch (code) {
    case ECONNREFUSED: case EHOSTUNREACH: case ENETUNREACH: case ETIMEDOUT: case ECONNABORTED: case ECONNRESET:
    case ENOTCONN: case EHOSTDOWN: case ENETDOWN: case ENETRESET: case EPIPE:
        return true;
    default:
        return false;
    }
}

// Why the name service finds no computer of that name ("" when it finds
// one): the library then says only "Invalid argument". A bracketed address
// needs no name service.
std::string nameProblem(const std::string& host) {
    if (host.empty() || host[0] == '[') return {};
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(host.c_str(), nullptr, nullptr, &found);
    if (found) ::freeaddrinfo(found);
    return result == 0 || result == EAI_MEMORY || result == EAI_SYSTEM ? std::string() : ::gai_strerror(result);
}

// The library's context: one per share, freed with it.
class Context {
public:
    explicit Context(const SmbCredentials& credentials) : credentials(credentials), context(smbc_new_context()) {
        if (!context) return;
        smbc_setOptionUserData(context, this);
        smbc_setFunctionAuthDataWithContext(context, &Context::authenticate);
        smbc_setOptionOpenShareMode(context, SMBC_SHAREMODE_DENY_ALL);
        smbc_setTimeout(context, TimeoutMs);
        if (!smbc_init_context(context)) {
            smbc_free_context(context, 1);
            context = nullptr;
        }
    }
    ~Context() {
        if (context) smbc_free_context(context, 1);
    }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    SMBCCTX* get() const { return context; }

private:
    static void authenticate(SMBCCTX* c, const char*, const char*, char* workgroup, int workgroupLength, char* user,
                             int userLength, char* password, int passwordLength) {
        const auto* self = static_cast<const Context*>(smbc_getOptionUserData(c));
        std::string name = self->credentials.user;
        if (const size_t slash = name.find('\\'); slash != std::string::npos) {
            std::snprintf(workgroup, static_cast<size_t>(workgroupLength), "%s", name.substr(0, slash).c_str());
            name.erase(0, slash + 1);
        }
        std::snprintf(user, static_cast<size_t>(userLength), "%s", name.c_str());
        std::snprintf(password, static_cast<size_t>(passwordLength), "%s", self->credentials.password.c_str());
    }

    SmbCredentials credentials;
    SMBCCTX* context;
};

class SmbShare : public Share {
public:
    SmbShare(std::string root, std::string server, std::string host, const SmbCredentials& credentials)
        : root(std::move(root)), server(std::move(server)), host(std::move(host)), context(credentials) {}

    std::string Location() const override { return root; }

    std::string PathOf(const std::string& name) const override {
        // A full address of the share (as this method gives it) is encoded,
        // and decoded before it is split, so that no encoded separator or dot
        // ("%2F", "%5C", "%2E") hides a ".." from the check; a name is taken
        // as it is written.
        std::string relative = name;
        if (relative.compare(0, root.size(), root) == 0 &&
            (relative.size() == root.size() || relative[root.size()] == '/')) {
            relative = PercentDecoded(relative.substr(root.size()));
        }
        std::string path = root;
        for (const std::string& part : SplitPathComponents(relative, "/\\")) {
            if (part == "." || part == ".." || part.find(':') != std::string::npos) throw FileException(name, Outside);
            path += '/' + PercentEncoded(part);
        }
        return path;
    }

    std::string NameOf(const std::string& path) const override {
        if (path.compare(0, root.size(), root) != 0) return path;
        std::string name = PercentDecoded(path.substr(root.size()));
        name.erase(0, std::min(name.find_first_not_of('/'), name.size()));
        return name;
    }

    std::string Read(const std::string& path) const override {
        const OpenFile file(*this, path, O_RDONLY);
        return file.ReadAll();
    }

    bool ReadFirstLine(const std::string& path, std::string& line) const override {
        const OpenFile file(*this, path, O_RDONLY);
        line.clear();
        char buffer[4096];
        for (bool any = false;; any = true) {
            const ssize_t got = file.Read(buffer, sizeof buffer);
            if (got == 0) return any;
            const auto* end = static_cast<const char*>(std::memchr(buffer, '\n', static_cast<size_t>(got)));
            line.append(buffer, end ? static_cast<size_t>(end - buffer) : static_cast<size_t>(got));
            if (end) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return true;
            }
        }
    }

    void Replace(const std::string& path, const std::string& expected, const std::string& bytes) const override {
        const OpenFile file(*this, path, O_RDWR);
        const std::string previous = file.ReadAll();
        if (previous != expected) throw FileChangedMeanwhile(path);
        // As on a local file: the new bytes padded to the old length in one
        // write, then the file shortened.
        const bool shorter = bytes.size() < previous.size();
        const std::string image = bytes + (shorter ? WritePadding(bytes.size(), previous.size()) : std::string());
        if (file.WriteAt0(image) && (!shorter || file.Truncate(bytes.size()))) return;
        const int code = errno;
        // The previous bytes put back leave the file as it was. When that
        // fails too, as when the server has gone away, no one can tell how
        // much of the write the server took.
        if (file.WriteAt0(previous) && file.Truncate(previous.size())) throw error(path, code);
        // The library may say that the connection is lost only of the call after the one cut off.
        const int reason = unreachable(code) || !unreachable(errno) ? code : errno;
        const std::string what = unreachable(reason) ? "the connection to the server was lost during the write"
                                                     : "the write failed and the old text could not be put back";
        throw FileException(StoreError::System(
            path, reason, what + ", so the file may have been written (" + SystemReason(reason) + ")"));
    }

    std::vector<Entry> List(const std::string& folder) const override {
        SMBCFILE* listing = smbc_getFunctionOpendir(context.get())(context.get(), folder.c_str());
        if (!listing) throw error(folder);
        std::vector<Entry> entries;
        while (const smbc_dirent* entry = smbc_getFunctionReaddir(context.get())(context.get(), listing)) {
            const std::string name(entry->name);
            if (name == "." || name == "..") continue;
            entries.push_back({name, entry->smbc_type == SMBC_FILE  ? EntryKind::File
                                     : entry->smbc_type == SMBC_DIR ? EntryKind::Folder
                                                                    : EntryKind::Other});
        }
        smbc_getFunctionClosedir(context.get())(context.get(), listing);
        return entries;
    }

    // The shares the server lists, its hidden ones ("IPC$", "C$") left out.
    std::vector<std::string> Shares() const {
        SMBCFILE* listing = smbc_getFunctionOpendir(context.get())(context.get(), root.c_str());
        if (!listing) throw error(root);
        std::vector<std::string> shares;
        while (const smbc_dirent* entry = smbc_getFunctionReaddir(context.get())(context.get(), listing)) {
            const std::string name(entry->name);
            if (entry->smbc_type == SMBC_FILE_SHARE && !name.empty() && name.back() != '$') shares.push_back(name);
        }
        smbc_getFunctionClosedir(context.get())(context.get(), listing);
        return shares;
    }

private:
    // One file opened without sharing; a file another program holds open
    // is tried again for a while.
    class OpenFile {
    public:
        OpenFile(const SmbShare& share, const std::string& path, int flags) : share(share), path(path) {
            SMBCCTX* c = share.context.get();
            if (!c) throw FileException(path, "the SMB client could not start");
            const auto giveUp = std::chrono::steady_clock::now() + Patience;
            for (;;) {
                file = smbc_getFunctionOpen(c)(c, path.c_str(), flags, 0);
                if (file) return;
                if (errno != EBUSY) throw share.error(path);
                if (std::chrono::steady_clock::now() >= giveUp) throw FileException(path, InUse);
                std::this_thread::sleep_for(RetryInterval);
            }
        }
        ~OpenFile() { smbc_getFunctionClose(share.context.get())(share.context.get(), file); }
        OpenFile(const OpenFile&) = delete;
        OpenFile& operator=(const OpenFile&) = delete;

        ssize_t Read(char* buffer, size_t size) const {
            const ssize_t got = smbc_getFunctionRead(share.context.get())(share.context.get(), file, buffer, size);
            if (got < 0) throw share.error(path);
            return got;
        }
        std::string ReadAll() const {
            std::string bytes;
            char buffer[64 * 1024];
            while (const ssize_t got = Read(buffer, sizeof buffer)) bytes.append(buffer, static_cast<size_t>(got));
            return bytes;
        }
        bool WriteAt0(const std::string& bytes) const {
            SMBCCTX* c = share.context.get();
            if (smbc_getFunctionLseek(c)(c, file, 0, SEEK_SET) != 0) return false;
            const ssize_t put = smbc_getFunctionWrite(c)(c, file, bytes.data(), bytes.size());
            return put == static_cast<ssize_t>(bytes.size());
        }
        bool Truncate(size_t size) const {
            SMBCCTX* c = share.context.get();
            return smbc_getFunctionFtruncate(c)(c, file, static_cast<off_t>(size)) == 0;
        }

    private:
        const SmbShare& share;
        std::string path;
        SMBCFILE* file = nullptr;
    };

    // The failure of the call just made (or of the one that failed with
    // code), said as plainly as the library lets it be: a server that cannot
    // be found or reached, a share that is not there, an access refused, or
    // the system's reason for the file.
    FileException error(const std::string& path, int code = errno) const {
        const std::string unknownName = code == EINVAL ? nameProblem(host) : std::string();
        if (unreachable(code) || !unknownName.empty()) {
            const std::string reason = unknownName.empty() ? SystemReason(code) : unknownName;
            return FileException(StoreError::System(server, code, "the server cannot be found or reached (" + reason + ")"));
        }
        if (code == EACCES || code == EPERM) {
            return FileException(StoreError::System(root, EACCES, "the server refused access to the share"));
        }
        if (code == ENOENT && path != root) {
            SMBCFILE* top = smbc_getFunctionOpendir(context.get())(context.get(), root.c_str());
            if (!top) return FileException(root, "the server has no such share");
            smbc_getFunctionClosedir(context.get())(context.get(), top);
        }
        return FileException(StoreError::System(path, code));
    }

    std::string root;    // smb://host:port/share[/folder]
    std::string server;  // smb://host:port
    std::string host;    // as the user named it
    Context context;
};

}  // namespace

SmbCredentials CredentialsFromEnvironment() {
    const char* user = std::getenv("TESSARON_SMB_USER");
    const char* password = std::getenv("TESSARON_SMB_PASSWORD");
    return {user ? user : "", password ? password : ""};
}


std::vector<std::string> ListSmbShares(const NetworkPath& host, const SmbCredentials& credentials) {
    NetworkPath server = host;
    server.share.clear();
    server.rest.clear();
    const std::string address = SmbAddress(server);
    return SmbShare(address, address, host.host, credentials).Shares();
}

SharePtr OpenSmbShare(const NetworkPath& network, const SmbCredentials& credentials) {
    NetworkPath server = network;
    server.share.clear();
    server.rest.clear();
    return std::make_shared<SmbShare>(SmbAddress(network), SmbAddress(server), network.host, credentials);
}

bool IsAccessRefused(const StoreError& error) { return error.SystemCode() == EACCES; }
