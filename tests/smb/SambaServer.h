#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "MountedSim.h"

// Runs a shell command, output dropped; true when it succeeded.
inline bool Shell(const std::string& command) {
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

// A Samba server of the test's own on the loopback interface: a free high
// port, guest access to the share "cd" (any folder), a share "locked" of the
// same folder for the user "root" with a password ("secret" unless given)
// only, a share "plain" of another folder when one is given, and all its
// state in a temporary folder. Stopped by its pid.
class SambaServer {
public:
    // Why no test server can run here; empty when one can.
    static std::string Missing() {
        return Shell("command -v smbd || test -x /usr/sbin/smbd") ? "" : "no smbd (Debian package samba)";
    }

    explicit SambaServer(const std::string& folder, const std::string& plain = "",
                         const std::string& password = "secret") {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);  // a port nobody uses: one the system hands out
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(s);
        port = ntohs(address.sin_port);
        char pattern[] = "/tmp/tessaron-samba-XXXXXX";
        dir = ::mkdtemp(pattern);
        const std::string state = dir + "/state", conf = dir + "/smb.conf";
        std::filesystem::create_directories(state);
        const passwd* me = ::getpwuid(::getuid());
        std::ofstream(conf) << "[global]\ninterfaces = 127.0.0.1\nbind interfaces only = yes\nsmb ports = " << port
            << "\ndisable netbios = yes\nmap to guest = Bad User\nguest account = " << (me ? me->pw_name : "nobody")
            << "\nserver role = standalone server\nload printers = no\nprinting = bsd\nprintcap name = /dev/null\n"
            << "disable spoolss = yes\nlog file = " << state << "/log.%m\nmax log size = 0\n"
            << "log level = 0 smb2:10\n"  // each request served, for Requests()
            << "pid directory = " << state << "\nlock directory = " << state << "\nstate directory = " << state
            << "\ncache directory = " << state << "\nprivate dir = " << state << "\nncalrpc dir = " << state << "/rpc\n"
            << "[cd]\npath = " << folder << "\nguest ok = yes\nread only = no\n"
            << "[locked]\npath = " << folder << "\nguest ok = no\nvalid users = root\nread only = no\n"
            << (plain.empty() ? "" : "[plain]\npath = " + plain + "\nguest ok = yes\n");
        Shell("printf '%s\\n%s\\n' " + password + " " + password + " | smbpasswd -c " + conf + " -s -a root");
        Shell("smbd -D -s " + conf + " </dev/null");
        WaitFor([this] { return Up(); });
    }
    ~SambaServer() {
        if (const pid_t pid = Pid(); pid > 0) ::kill(pid, SIGTERM);
        WaitFor([this] { return !Up(); });
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    SambaServer(const SambaServer&) = delete;
    SambaServer& operator=(const SambaServer&) = delete;

    // The server's main process, which starts one process per connection.
    pid_t Pid() const { pid_t pid = 0; return std::ifstream(dir + "/state/smbd.pid") >> pid ? pid : 0; }
    bool Up() const { return Shell("bash -c 'exec 3<>/dev/tcp/127.0.0.1/" + std::to_string(port) + "'"); }
    std::string Host() const { return "127.0.0.1:" + std::to_string(port); }
    // The requests served so far, by the process that served them (one for
    // each connection), from the server's own log.
    std::map<std::string, long> Requests() const {
        std::map<std::string, long> served;
        std::string process;
        for (const auto& entry : std::filesystem::directory_iterator(dir + "/state")) {
            if (entry.path().filename().string().rfind("log.", 0) != 0) continue;
            std::ifstream log(entry.path());
            for (std::string line; std::getline(log, line);) {
                if (const size_t pid = line.find(", pid="); pid != std::string::npos) {
                    process = line.substr(pid + 6, line.find(',', pid + 6) - pid - 6);
                } else if (line.find("smbd_smb2_request_dispatch: opcode") != std::string::npos) {
                    ++served[process];
                }
            }
        }
        return served;
    }
    std::string Address(const std::string& share = "cd") const { return "smb://" + Host() + "/" + share; }

private:
    int port = 0;
    std::string dir;
};

// XDG_RUNTIME_DIR (where the programs look for the desktop's mounts) set
// while it lives.
struct ScopedRuntimeDir {
    explicit ScopedRuntimeDir(const std::string& dir) {
        if (const char* value = std::getenv("XDG_RUNTIME_DIR")) old = value;
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    ~ScopedRuntimeDir() { old ? ::setenv("XDG_RUNTIME_DIR", old->c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR"); }
    std::optional<std::string> old;
};

// The desktop's own mount of an SMB share (GVFS) in a session of its own: a
// private bus, the desktop's daemons, a runtime folder; the test process's
// XDG_RUNTIME_DIR points there while it lives, so the programs find the mount
// as they would on a desktop. The session's processes end with it.
class GvfsMount {
public:
    static std::string Missing() {
        return Shell("test -x /usr/libexec/gvfsd && test -x /usr/libexec/gvfsd-fuse && command -v dbus-run-session && "
                     "command -v gio && test -w /dev/fuse")
                   ? ""
                   : "no gvfsd, gvfsd-fuse (packages gvfs-backends, gvfs-fuse), dbus-run-session, gio or /dev/fuse";
    }

    explicit GvfsMount(const std::string& address) {
        char pattern[] = "/tmp/tessaron-gvfs-XXXXXX";
        runtime = ::mkdtemp(pattern);
        std::filesystem::create_directories(runtime + "/gvfs");
        Shell("XDG_RUNTIME_DIR=" + runtime + " setsid dbus-run-session -- sh -c '/usr/libexec/gvfsd --no-fuse & " +
              "/usr/libexec/gvfsd-fuse " + runtime + "/gvfs -f & sleep 0.5; gio mount -a " + address +
              " </dev/null; exec sleep 600' & echo $! >" + runtime + "/session.pid");
        WaitFor([this] { return !Folder().empty(); }, 30);
        here = std::make_unique<ScopedRuntimeDir>(runtime);
    }
    ~GvfsMount() {
        Shell("fusermount3 -u " + runtime + "/gvfs");
        pid_t session = 0;
        if (std::ifstream(runtime + "/session.pid") >> session && session > 0) ::kill(-session, SIGTERM);
        here.reset();
        std::error_code ignored;
        std::filesystem::remove_all(runtime, ignored);
    }
    GvfsMount(const GvfsMount&) = delete;
    GvfsMount& operator=(const GvfsMount&) = delete;

    // The folder the desktop mounted the share at, or "" when it did not.
    std::string Folder() const {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(runtime + "/gvfs", error)) {
            if (entry.path().filename().string().rfind("smb-share:", 0) == 0) return entry.path().string();
        }
        return {};
    }

private:
    std::string runtime;
    std::unique_ptr<ScopedRuntimeDir> here;
};
