#include "SmbShare.h"

#include <fcntl.h>
#include <netdb.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include "FileException.h"
#include "ShareFile.h"
#include "SmbLibrary.h"
#include "TextRules.h"

namespace {

constexpr const char* Outside = "lies outside the server's share";
constexpr const char* InUse = "the file is in use by another program";
constexpr auto RetryInterval = std::chrono::milliseconds(100);
constexpr auto Patience = std::chrono::seconds(2);
constexpr int TimeoutMs = 10000;
// How long a connection that answered counts as alive without a check.
constexpr auto FreshConnection = std::chrono::seconds(2);


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
    explicit Context(const SmbCredentials& credentials) : credentials(credentials) {
        library = LoadSmbLibrary(problem);
        if (!library) return;
        context = library->newContext();
        if (!context) return;
        library->setUserData(context, this);
        library->setAuthentication(context, &Context::authenticate);
        library->setShareMode(context, SMBC_SHAREMODE_DENY_ALL);
        library->setTimeout(context, TimeoutMs);
        libraryCheck = library->getCheckServer(context);
        library->setCheckServer(context, &Context::checkServer);
        if (!library->initContext(context)) {
            library->freeContext(context, 1);
            context = nullptr;
        }
    }
    ~Context() {
        if (context) library->freeContext(context, 1);
    }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    SMBCCTX* get() const { return context; }
    const SmbLibrary& Library() const { return *library; }
    // Why there is no context: the library could not be loaded or started.
    std::string Problem() const { return problem.empty() ? "the SMB client could not start" : problem; }

    // Notes how the last call through the context went: a call the server
    // answered shows that the connection is alive.
    void Answered(bool answered) const {
        lastAnswer = answered ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point{};
    }

private:
    // The context a callback of the library is called for (the library is
    // loaded: it is the one calling).
    static const Context* of(SMBCCTX* c) {
        std::string problem;
        return static_cast<const Context*>(LoadSmbLibrary(problem)->getUserData(c));
    }

    static void authenticate(SMBCCTX* c, const char*, const char*, char* workgroup, int workgroupLength, char* user,
                             int userLength, char* password, int passwordLength) {
        const Context* self = of(c);
        std::string name = self->credentials.user;
        if (const size_t slash = name.find('\\'); slash != std::string::npos) {
            std::snprintf(workgroup, static_cast<size_t>(workgroupLength), "%s", name.substr(0, slash).c_str());
            name.erase(0, slash + 1);
        }
        std::snprintf(user, static_cast<size_t>(userLength), "%s", name.c_str());
        std::snprintf(password, static_cast<size_t>(passwordLength), "%s", self->credentials.password.c_str());
    }

    // Before it reuses a connection, the library asks whether it is still
    // alive; its own answer costs a request to the server the first time.
    // A connection that answered moments ago is alive: only one idle for
    // longer (or after a failed call) is put to the library's own test.
    static int checkServer(SMBCCTX* c, SMBCSRV* server) {
        const Context* self = of(c);
        if (std::chrono::steady_clock::now() - self->lastAnswer < FreshConnection) return 0;
        return self->libraryCheck(c, server);
    }

    SmbCredentials credentials;
    const SmbLibrary* library = nullptr;
    std::string problem;
    SMBCCTX* context = nullptr;
    smbc_check_server_fn libraryCheck = nullptr;
    mutable std::chrono::steady_clock::time_point lastAnswer;
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
            // A short read ends at the end of the file: the library reads
            // on until it has all it was asked for or the file ends.
            if (static_cast<size_t>(got) < sizeof buffer) return true;
        }
    }

    void Replace(const std::string& path, const std::string& expected, const std::string& bytes) const override {
        const OpenFile file(*this, path, O_RDWR);
        const std::string previous = file.ReadAll();
        if (previous != expected) throw FileChangedMeanwhile(path);
        writeOver(file, path, previous, bytes);
    }

    std::unique_ptr<Update> OpenForUpdate(const std::string& path, std::string& bytes) const override {
        auto file = std::make_unique<OpenFile>(*this, path, O_RDWR, true);
        if (!file->IsOpen()) return nullptr;  // read, then replaced, as any file
        bytes = file->ReadAll();
        return std::make_unique<HeldFile>(*this, std::move(file), path, bytes);
    }

    std::vector<Entry> List(const std::string& folder) const override {
        std::vector<Entry> entries;
        forEachEntry(folder, [&](const smbc_dirent& entry) {
            const std::string name(entry.name);
            if (name == "." || name == "..") return;
            entries.push_back({name, entry.smbc_type == SMBC_FILE  ? EntryKind::File
                                     : entry.smbc_type == SMBC_DIR ? EntryKind::Folder
                                                                   : EntryKind::Other});
        });
        return entries;
    }

    // The shares the server lists, its hidden ones ("IPC$", "C$") left out.
    std::vector<std::string> Shares() const {
        std::vector<std::string> shares;
        forEachEntry(root, [&](const smbc_dirent& entry) {
            const std::string name(entry.name);
            if (entry.smbc_type == SMBC_FILE_SHARE && !name.empty() && name.back() != '$') shares.push_back(name);
        });
        return shares;
    }

private:
    // One file opened without sharing; a file another program holds open
    // is tried again for a while.
    class OpenFile {
    public:
        // When mayFail, an open the server refuses leaves the file closed
        // (IsOpen false) instead of raising.
        OpenFile(const SmbShare& share, const std::string& path, int flags, bool mayFail = false)
            : share(share), path(path) {
            SMBCCTX* c = share.context.get();
            if (!c) throw FileException(path, share.context.Problem());
            const auto giveUp = std::chrono::steady_clock::now() + Patience;
            for (;;) {
                file = share.library().open(c)(c, path.c_str(), flags, 0);
                share.context.Answered(file != nullptr);
                if (file) return;
                if (errno != EBUSY) {
                    if (mayFail && (errno == EACCES || errno == EPERM || errno == EROFS)) return;
                    throw share.error(path);
                }
                if (std::chrono::steady_clock::now() >= giveUp) throw FileException(path, InUse);
                std::this_thread::sleep_for(RetryInterval);
            }
        }
        ~OpenFile() {
            if (file) share.context.Answered(share.library().close(share.context.get())(share.context.get(), file) == 0);
        }
        OpenFile(const OpenFile&) = delete;
        OpenFile& operator=(const OpenFile&) = delete;

        bool IsOpen() const { return file != nullptr; }
        ssize_t Read(char* buffer, size_t size) const {
            SMBCCTX* c = share.context.get();
            const ssize_t got = share.library().read(c)(c, file, buffer, size);
            share.context.Answered(got >= 0);
            if (got < 0) throw share.error(path);
            return got;
        }
        // The whole file from where it stands. A read that comes back short
        // has met the end of the file (the library reads on until it has
        // all it was asked for or the file ends), so no read more is made
        // to learn that.
        std::string ReadAll() const {
            std::string bytes;
            char buffer[64 * 1024];
            for (;;) {
                const ssize_t got = Read(buffer, sizeof buffer);
                bytes.append(buffer, static_cast<size_t>(got));
                if (static_cast<size_t>(got) < sizeof buffer) return bytes;
            }
        }
        bool WriteAt0(const std::string& bytes) const {
            SMBCCTX* c = share.context.get();
            const SmbLibrary& library = share.library();
            const bool written = library.lseek(c)(c, file, 0, SEEK_SET) == 0 &&
                                 library.write(c)(c, file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
            share.context.Answered(written);
            return written;
        }
        bool Truncate(size_t size) const {
            SMBCCTX* c = share.context.get();
            const bool done = share.library().ftruncate(c)(c, file, static_cast<off_t>(size)) == 0;
            share.context.Answered(done);
            return done;
        }

    private:
        const SmbShare& share;
        std::string path;
        SMBCFILE* file = nullptr;
    };

    // A file held open without sharing from its reading to its writing: no
    // one else can change it meanwhile, so the bytes read are what it holds.
    class HeldFile : public Update {
    public:
        HeldFile(const SmbShare& share, std::unique_ptr<OpenFile> file, std::string path, std::string bytes)
            : share(share), file(std::move(file)), path(std::move(path)), bytes(std::move(bytes)) {}
        void Replace(const std::string& expected, const std::string& newBytes) override {
            const std::unique_ptr<OpenFile> held = std::move(file);  // closed whatever happens
            if (bytes != expected) throw FileChangedMeanwhile(path);
            share.writeOver(*held, path, bytes, newBytes);
        }

    private:
        const SmbShare& share;
        std::unique_ptr<OpenFile> file;
        std::string path;
        std::string bytes;
    };

    const SmbLibrary& library() const { return context.Library(); }

    // As on a local file: the new bytes padded to the old length in one
    // write, then the file shortened.
    void writeOver(const OpenFile& file, const std::string& path, const std::string& previous,
                   const std::string& bytes) const {
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

    // Calls each for every entry of a folder (or, for the server's
    // address, of its list of shares).
    void forEachEntry(const std::string& folder, const std::function<void(const smbc_dirent&)>& each) const {
        SMBCCTX* c = context.get();
        if (!c) throw FileException(folder, context.Problem());
        SMBCFILE* listing = library().opendir(c)(c, folder.c_str());
        context.Answered(listing != nullptr);
        if (!listing) throw error(folder);
        while (const smbc_dirent* entry = library().readdir(c)(c, listing)) each(*entry);
        library().closedir(c)(c, listing);
    }

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
            SMBCCTX* c = context.get();
            SMBCFILE* top = library().opendir(c)(c, root.c_str());
            if (!top) return FileException(root, "the server has no such share");
            library().closedir(c)(c, top);
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
