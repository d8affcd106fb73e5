#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Waits some seconds for a condition.
inline bool WaitFor(const std::function<bool()>& condition, int seconds = 10) {
    for (int i = 0; i < 20 * seconds; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
        if (condition()) return true;
    }
    return false;
}

// Why the simulated appliance cannot be mounted here; empty when it can.
inline std::string FuseMissing() {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) return "no usable /dev/fuse to mount the simulated appliance on";
    if (std::system("command -v fusermount3 >/dev/null 2>&1") != 0) {
        return "no fusermount3 (Debian package fuse3) to mount the simulated appliance with";
    }
    return {};
}

// One run of tessaron-sim to its end: exit code and everything it printed.
struct SimRun {
    int code;
    std::string output;
};

inline SimRun RunSim(const std::string& arguments) {
    SimRun run{-1, {}};
    FILE* pipe = ::popen((std::string(TESSARON_SIM_BINARY " ") + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// tessaron-sim serving a state folder at a fresh mount point, as a child of
// the test (it goes when the test process goes), run by the command that
// wrapper names if any. Stopped with SIGTERM.
class MountedSim {
public:
    MountedSim(const std::string& stateDir, const std::vector<std::string>& options,
               std::vector<std::string> wrapper = {}) {
        char pattern[] = "/tmp/tessaron-mount-XXXXXX";
        if (::mkdtemp(pattern)) mountPoint = pattern;
        std::vector<std::string> words = std::move(wrapper);
        words.insert(words.end(), {TESSARON_SIM_BINARY, stateDir, mountPoint, "--foreground"});
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        pid = ::fork();
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            // The server's log lines are no output of the test.
            ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        for (int i = 0; i < 1000 && pid > 0 && !Mounted(); ++i) {
            if (::waitpid(pid, &status, WNOHANG) == pid) pid = -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~MountedSim() {
        Stop();
        // A simulator killed leaves its mount behind.
        if (::rmdir(mountPoint.c_str()) != 0 && std::system(("fusermount3 -uz " + mountPoint).c_str()) == 0) ::rmdir(mountPoint.c_str());
    }
    MountedSim(const MountedSim&) = delete;
    MountedSim& operator=(const MountedSim&) = delete;

    const std::string& Mount() const { return mountPoint; }
    // A file system of its own is mounted there.
    bool Mounted() const {
        struct stat mount {};
        struct stat parent {};
        return ::stat(mountPoint.c_str(), &mount) == 0 && ::stat((mountPoint + "/..").c_str(), &parent) == 0 &&
               mount.st_dev != parent.st_dev;
    }
    // Sends SIGTERM and waits; the simulator's exit code.
    int Stop() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, &status, 0);
            pid = -1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    std::string mountPoint;
    pid_t pid = -1;
    int status = -1;
};
