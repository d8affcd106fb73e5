#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

// A Samba server of the test's own on the loopback interface: a free high
// port, guest access to the share "cd" (any folder), a share "locked" of the
// same folder for the user "root" with password "secret" only, and all its
// state in a temporary folder. Stopped by its pid.
class SambaServer {
public:
    // Why no test server can run here; empty when one can.
    static std::string Missing() {
        if (std::system("command -v smbd >/dev/null 2>&1 || test -x /usr/sbin/smbd") != 0) {
            return "no smbd (Debian package samba) to serve a test share";
        }
        return {};
    }

    explicit SambaServer(const std::string& folder) : port(freePort()) {
        char pattern[] = "/tmp/tessaron-samba-XXXXXX";
        dir = ::mkdtemp(pattern);
        const std::string state = dir + "/state";
        std::filesystem::create_directories(state);
        const passwd* me = ::getpwuid(::getuid());
        std::ofstream(dir + "/smb.conf") << "[global]\n"
            << "interfaces = 127.0.0.1\nbind interfaces only = yes\nsmb ports = " << port << "\n"
            << "disable netbios = yes\nmap to guest = Bad User\nguest account = " << (me ? me->pw_name : "nobody")
            << "\nserver role = standalone server\nload printers = no\nprinting = bsd\nprintcap name = /dev/null\n"
            << "disable spoolss = yes\npid directory = " << state << "\nlock directory = " << state
            << "\nstate directory = " << state << "\ncache directory = " << state << "\nprivate dir = " << state
            << "\nncalrpc dir = " << state << "/ncalrpc\nlog file = " << state << "/log.%m\n"
            << "[cd]\npath = " << folder << "\nguest ok = yes\nread only = no\n"
            << "[locked]\npath = " << folder << "\nguest ok = no\nvalid users = root\nread only = no\n";
        const std::string conf = dir + "/smb.conf";
        std::system(("printf 'secret\\nsecret\\n' | smbpasswd -c " + conf + " -s -a root >/dev/null 2>&1").c_str());
        std::system(("smbd -D -s " + conf + " </dev/null >/dev/null 2>&1").c_str());
        for (int i = 0; i < 200 && !listening(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~SambaServer() {
        std::ifstream pidFile(dir + "/state/smbd.pid");
        pid_t pid = 0;
        if (pidFile >> pid && pid > 0) {
            ::kill(pid, SIGTERM);
            for (int i = 0; i < 100 && ::kill(pid, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    SambaServer(const SambaServer&) = delete;
    SambaServer& operator=(const SambaServer&) = delete;

    bool Up() const { return listening(); }
    int Port() const { return port; }
    // "smb://127.0.0.1:PORT/share"
    std::string Address(const std::string& share = "cd") const {
        return "smb://127.0.0.1:" + std::to_string(port) + "/" + share;
    }

private:
    static int freePort() {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(s);
        return ntohs(address.sin_port);
    }
    bool listening() const {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool up = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(s);
        return up;
    }

    int port;
    std::string dir;
};

// XDG_RUNTIME_DIR set for a while (where the programs look for the
// desktop's mounts), then put back.
class ScopedRuntimeDir {
public:
    explicit ScopedRuntimeDir(const std::string& dir) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) previous = old;
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    ~ScopedRuntimeDir() {
        if (previous.empty()) {
            ::unsetenv("XDG_RUNTIME_DIR");
        } else {
            ::setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
        }
    }
    ScopedRuntimeDir(const ScopedRuntimeDir&) = delete;
    ScopedRuntimeDir& operator=(const ScopedRuntimeDir&) = delete;

private:
    std::string previous;
};

// The desktop's own mount of an SMB share (GVFS), in a private session bus
// and runtime folder; the test process's XDG_RUNTIME_DIR points there while
// it lives, so the programs find the mount as they would on a desktop.
class GvfsMount {
public:
    static std::string Missing() {
        if (::access("/usr/libexec/gvfsd", X_OK) != 0 || ::access("/usr/libexec/gvfsd-fuse", X_OK) != 0) {
            return "no gvfsd and gvfsd-fuse (Debian packages gvfs-backends, gvfs-fuse) to mount a share with";
        }
        if (std::system("command -v dbus-daemon >/dev/null && command -v gio >/dev/null") != 0) {
            return "no dbus-daemon or gio (Debian packages dbus, libglib2.0-bin)";
        }
        if (::access("/dev/fuse", R_OK | W_OK) != 0) return "no usable /dev/fuse";
        return {};
    }

    explicit GvfsMount(const std::string& address) : address(address) {
        char pattern[] = "/tmp/tessaron-gvfs-XXXXXX";
        runtime = ::mkdtemp(pattern);
        std::filesystem::create_directories(runtime + "/gvfs");
        const std::string environment = "XDG_RUNTIME_DIR=" + runtime + " ";
        // The bus prints its address and pid; both go to a file.
        std::system(("dbus-daemon --session --fork --print-address=3 --print-pid=4 3>" + runtime + "/bus 4>" +
                     runtime + "/bus.pid")
                        .c_str());
        std::ifstream(runtime + "/bus") >> bus;
        run = environment + "DBUS_SESSION_BUS_ADDRESS=" + bus + " ";
        std::system((run + "/usr/libexec/gvfsd --no-fuse >/dev/null 2>&1 & echo $! >" + runtime + "/gvfsd.pid; " +
                     run + "/usr/libexec/gvfsd-fuse " + runtime + "/gvfs -f >/dev/null 2>&1 & echo $! >" + runtime +
                     "/fuse.pid")
                        .c_str());
        for (int i = 0; i < 100 && !fuseUp(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::system((run + "timeout 30 gio mount -a " + address + " </dev/null >/dev/null 2>&1").c_str());
        here = std::make_unique<ScopedRuntimeDir>(runtime);
    }
    ~GvfsMount() {
        std::system((run + "timeout 10 gio mount -u " + address + " </dev/null >/dev/null 2>&1").c_str());
        std::system(("fusermount3 -u " + runtime + "/gvfs >/dev/null 2>&1").c_str());
        for (const char* file : {"/fuse.pid", "/gvfsd.pid", "/bus.pid"}) {
            pid_t pid = 0;
            if (std::ifstream(runtime + file) >> pid && pid > 0) ::kill(pid, SIGTERM);
        }
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
    bool fuseUp() const {
        return std::system(("grep -q ' " + runtime + "/gvfs ' /proc/self/mounts").c_str()) == 0;
    }

    std::string address;
    std::string runtime;
    std::string bus;
    std::string run;
    std::unique_ptr<ScopedRuntimeDir> here;
};

