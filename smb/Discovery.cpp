#include "Discovery.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <set>
#include <sstream>

#include "FileException.h"
#include "ServerFiles.h"
#include "ServerIdentity.h"
#include "ServerShare.h"
#include "ShownText.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Reads what a child wrote, without waiting.
constexpr size_t kChunk = 4096;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1) {
        parts.push_back(text.substr(start, end - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

// The share at serverPath as found: what its configuration file says, or
// why it could not be read.
FoundShare probeOne(const std::string& serverPath, const SmbCredentials& credentials) {
    FoundShare found;
    found.address = ShareAddress(serverPath);
    try {
        const SharePtr share = OpenServerShare(serverPath, credentials);
        std::string line;
        const bool lineFound = share->ReadFirstLine(share->PathOf(ServerFile::Configuration), line);
        const ServerIdentity identity = IdentifyFirstLine(lineFound, line);
        found.appliance = identity.accepted;
        if (identity.accepted) {
            found.product = identity.productTitle;
            found.version = identity.version;
            found.serial = SerialNumber(line);
        }
    } catch (const StoreError& error) {
        found.problem = error.Detail();
    }
    return found;
}

bool isShareFolder(const fs::path& folder) { return ShareFolderProblem(folder.string()) == 0; }

// "2 s", "1.5 s".
std::string secondsText(std::chrono::milliseconds time) {
    std::string text = std::to_string(time.count() / 1000);
    if (const long long tenths = time.count() % 1000 / 100) text += "." + std::to_string(tenths);
    return text + " s";
}

// Reads what is there to read; false once the pipe is closed.
bool drain(int& fd, std::string& into) {
    char buffer[kChunk];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            into.append(buffer, static_cast<size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && errno == EAGAIN) return true;
        ::close(fd);
        fd = -1;
        return false;
    }
}


}  // namespace

const char* FoundByName(FoundBy how) {
    switch (how) {
    case FoundBy::Mounted: return "mounted";
    case FoundBy::Recent: return "recent";
    case FoundBy::Smb: return "smb";
    }
    return "";
}

std::vector<FoundShare> Distinct(std::vector<FoundShare> found) {
    std::stable_sort(found.begin(), found.end(), [](const FoundShare& a, const FoundShare& b) { return a.order < b.order; });
    std::set<std::string> seen;
    std::vector<FoundShare> distinct;
    for (FoundShare& share : found) {
        if (seen.insert(share.address).second) distinct.push_back(std::move(share));
    }
    return distinct;
}

std::vector<ProbeTarget> KnownTargets(const MountSources& mounts, const std::vector<std::string>& recent) {
    std::vector<ProbeTarget> targets;
    for (const std::string& address : recent) targets.push_back({address, FoundBy::Recent});
    for (const MountedShare& share : MountedShares(mounts)) targets.push_back({share.folder, FoundBy::Mounted});
    return targets;
}

bool HostTarget(const std::string& host, ProbeTarget& target) {
    NetworkPath network;
    if (host.empty() || host.find_first_of("/\\") != std::string::npos ||
        !ParseNetworkPath("smb://" + host, network)) {
        return false;
    }
    target = {SmbAddress(network), FoundBy::Smb};
    return true;
}

std::string ProbeLine(const FoundShare& share) {
    return PercentEncoded(share.address) + '\t' + (share.appliance ? "1" : "0") + '\t' +
           PercentEncoded(share.product) + '\t' + PercentEncoded(share.version) + '\t' + PercentEncoded(share.serial) +
           '\t' + PercentEncoded(share.problem) + '\n';
}

std::vector<FoundShare> ProbeLines(const std::string& output, FoundBy how) {
    std::vector<FoundShare> found;
    for (const std::string& line : split(output, '\n')) {
        const std::vector<std::string> fields = split(line, '\t');
        if (fields.size() != 6 || fields[0].empty()) continue;
        FoundShare share;
        share.address = PercentDecoded(fields[0]);
        share.how = how;
        share.appliance = fields[1] == "1";
        share.product = PercentDecoded(fields[2]);
        share.version = PercentDecoded(fields[3]);
        share.serial = PercentDecoded(fields[4]);
        share.problem = PercentDecoded(fields[5]);
        share.order = static_cast<int>(found.size());
        found.push_back(std::move(share));
    }
    return found;
}

bool ProbeShares(const std::string& target, const SmbCredentials& credentials, std::ostream& out, std::ostream& err) {
    NetworkPath network;
    if (ParseNetworkPath(target, network)) {
        if (!network.share.empty()) {
            const FoundShare found = probeOne(target, credentials);
            if (!found.problem.empty()) return err << ShownName(found.problem) << '\n', false;
            out << ProbeLine(found);
            return true;
        }
        std::vector<std::string> shares;
        try {
            shares = ListSmbShares(network, credentials);
        } catch (const StoreError& error) {
            err << ShownName(error.Detail()) << '\n';
            return false;
        }
        for (const std::string& share : shares) {
            network.share = share;
            out << ProbeLine(probeOne(SmbAddress(network), credentials)) << std::flush;
        }
        return true;
    }
    const fs::path folder(target);
    std::error_code error;
    if (isShareFolder(folder)) {
        out << ProbeLine(probeOne(target, credentials));
        return true;
    }
    if (!fs::is_directory(folder, error)) {
        err << ShownName(target) << ": " << (error ? error.message() : "not a folder") << '\n';
        return false;
    }
    // A mount of a server's top folder: its shares lie one level down.
    std::vector<std::string> shares;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_directory(error) && isShareFolder(entry.path())) shares.push_back(entry.path().string());
    }
    std::sort(shares.begin(), shares.end());
    for (const std::string& share : shares) out << ProbeLine(probeOne(share, credentials)) << std::flush;
    return true;
}

std::string ProbeProgram() {
    if (const char* chosen = std::getenv("TESSARON_CTL"); chosen && *chosen) return chosen;
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) {
        const fs::path folder = fs::path(std::string(self, static_cast<size_t>(length))).parent_path();
        for (const fs::path& candidate : {folder / "tessaron-ctl", folder / "cli" / "tessaron-ctl"}) {
            if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        }
    }
    return "tessaron-ctl";
}

// --- Running the probes ---

struct Discovery::Probe {
    ProbeTarget target;
    int turn = 0;
    pid_t pid = -1;
    int out = -1;
    int err = -1;
    std::string said;
    std::string complaint;
    Clock::time_point deadline;
};

Discovery::Discovery(Options options, Report report) : options(std::move(options)), report(std::move(report)) {}

Discovery::~Discovery() {
    for (const auto& probe : running) {
        ::kill(probe->pid, SIGKILL);
        ::close(probe->out);
        ::close(probe->err);
        ::waitpid(probe->pid, nullptr, WNOHANG);
    }
}

void Discovery::Add(const ProbeTarget& target) {
    auto probe = std::make_unique<Probe>();
    probe->target = target;
    probe->turn = turns++;
    waiting.push_back(std::move(probe));
}

void Discovery::start(Probe& probe) {
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        probe.complaint = std::strerror(errno);
        return;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        probe.complaint = std::strerror(errno);
        ::close(out[0]);
        ::close(out[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<std::string> arguments{options.program, "discover", "--probe", probe.target.target};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables = options.environment;
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    for (char** variable = environ; *variable; ++variable) envp.push_back(*variable);
    envp.push_back(nullptr);
    const int failed = ::posix_spawnp(&probe.pid, options.program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    probe.out = out[0];
    probe.err = err[0];
    ::fcntl(probe.out, F_SETFL, O_NONBLOCK);
    ::fcntl(probe.err, F_SETFL, O_NONBLOCK);
    probe.deadline = Clock::now() + options.timeLimit;
    if (failed) {
        probe.pid = -1;
        probe.complaint = options.program + ": " + std::strerror(failed);
    }
}

void Discovery::finish(Probe& probe, bool timedOut) {
    int status = -1;
    if (probe.pid > 0) {
        if (timedOut) ::kill(probe.pid, SIGKILL);
        ::waitpid(probe.pid, &status, timedOut ? WNOHANG : 0);
    }
    for (int* fd : {&probe.out, &probe.err}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    const bool answered = !timedOut && probe.pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (answered) {
        for (FoundShare found : ProbeLines(probe.said, probe.target.how)) {
            found.order += probe.turn * 10000;
            report(found);
        }
        return;
    }
    FoundShare failed;
    failed.address = probe.target.target;
    failed.how = probe.target.how;
    failed.order = probe.turn * 10000;
    std::string complaint = probe.complaint;
    while (!complaint.empty() && complaint.back() == '\n') complaint.pop_back();
    if (const size_t line = complaint.rfind('\n'); line != std::string::npos) complaint.erase(0, line + 1);
    failed.problem = timedOut ? "no answer within " + secondsText(options.timeLimit) : complaint.empty() ? "could not be probed" : complaint;
    report(failed);
}

bool Discovery::Step(std::chrono::milliseconds wait) {
    while (static_cast<int>(running.size()) < options.parallel && !waiting.empty()) {
        running.push_back(std::move(waiting.front()));
        waiting.erase(waiting.begin());
        start(*running.back());
    }
    if (running.empty()) return false;

    std::vector<pollfd> fds;
    auto until = Clock::now() + wait;
    for (const auto& probe : running) {
        until = std::min(until, probe->deadline);
        for (const int fd : {probe->out, probe->err}) {
            if (fd >= 0) fds.push_back({fd, POLLIN, 0});
        }
    }
    const auto timeout = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (!fds.empty()) ::poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(0, timeout.count())));

    const auto now = Clock::now();
    for (auto probe = running.begin(); probe != running.end();) {
        Probe& p = **probe;
        if (p.out >= 0) drain(p.out, p.said);
        if (p.err >= 0) drain(p.err, p.complaint);
        const bool ended = p.pid < 0 || (p.out < 0 && p.err < 0);
        if (ended || now >= p.deadline) {
            finish(p, !ended);
            probe = running.erase(probe);
        } else {
            ++probe;
        }
    }
    return !running.empty() || !waiting.empty();
}

void Discovery::Run() {
    while (Step(std::chrono::milliseconds(1000))) {
    }
}
