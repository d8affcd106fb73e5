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
#include <string_view>
#include <utility>

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
// What is kept of a child's output: far more than any host lists.
constexpr size_t kMostOutput = 1 << 20;

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
            found.serial.erase(0, found.serial.find_first_not_of(" \t"));  // written after "S/N:" with a blank
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
            into.append(buffer, std::min(static_cast<size_t>(got), kMostOutput - std::min(kMostOutput, into.size())));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && errno == EAGAIN) return true;
        ::close(fd);
        fd = -1;
        return false;
    }
}

// The variables given, then those of this process that they do not replace.
std::vector<std::string> childEnvironment(const std::vector<std::string>& given) {
    std::vector<std::string> variables = given;
    for (char** variable = environ; *variable; ++variable) {
        const std::string_view inherited(*variable);
        const std::string_view name = inherited.substr(0, inherited.find('=') + 1);
        const bool replaced = std::any_of(given.begin(), given.end(), [&](const std::string& g) {
            return std::string_view(g).substr(0, g.find('=') + 1) == name;
        });
        if (!replaced) variables.emplace_back(inherited);
    }
    return variables;
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

std::string NotReachedText(const FoundShare& share) {
    const std::string address = ShownName(share.address), problem = ShownName(share.problem);
    return problem.compare(0, address.size(), address) == 0 ? problem : address + ": " + problem;
}

std::vector<FoundShare> Distinct(std::vector<FoundShare> found) {
    std::stable_sort(found.begin(), found.end(), [](const FoundShare& a, const FoundShare& b) {
        return std::pair(a.turn, a.place) < std::pair(b.turn, b.place);
    });
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
    // Nothing but the host, and a port that is a number: no user, share or
    // folder, written or encoded.
    if (host.empty() || host.find_first_of("/\\@?#%") != std::string::npos ||
        !ParseNetworkPath("smb://" + host, network) || !network.share.empty() ||
        network.port.find_first_not_of("0123456789") != std::string::npos ||
        (!network.port.empty() && (network.port.size() > 5 || std::stoi(network.port) == 0 ||
                                   std::stoi(network.port) > 65535))) {
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
        share.place = static_cast<int>(found.size());
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
    // A mount of a server's top folder: its shares lie one level down. A
    // link there may lead anywhere on this computer, and is left alone.
    std::vector<std::string> shares;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (!entry.is_symlink(error) && entry.is_directory(error) && isShareFolder(entry.path())) {
            shares.push_back(entry.path().string());
        }
    }
    std::sort(shares.begin(), shares.end());
    for (const std::string& share : shares) out << ProbeLine(probeOne(share, credentials)) << std::flush;
    if (shares.empty()) {  // a share, but none of an appliance
        FoundShare plain;
        plain.address = ShareAddress(target);
        out << ProbeLine(plain);
    }
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
    int status = -1;  // the exit status, once it ended
    Clock::time_point deadline;
};

Discovery::Discovery(Options options, Report report) : options(std::move(options)), report(std::move(report)) {}

Discovery::~Discovery() {
    for (const auto& probe : running) {
        if (probe->pid > 0) ::kill(probe->pid, SIGKILL);
        if (probe->out >= 0) ::close(probe->out);
        if (probe->err >= 0) ::close(probe->err);
        if (probe->pid > 0) killed.push_back(probe->pid);
    }
    // Killed children go at once, unless a mount that does not answer holds
    // them: they are given a moment, no more.
    for (int tries = 0; tries < 20 && (reapKilled(), !killed.empty()); ++tries) ::usleep(5000);
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
    // "--probe=" keeps a target that begins with "-" from reading as an option.
    std::vector<std::string> arguments{options.program, "discover", "--probe=" + probe.target.target};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables = childEnvironment(options.environment);
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
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

// A child killed on a mount that does not answer may take its time to go:
// it is reaped when it has, never waited for.
void Discovery::reapKilled() {
    std::erase_if(killed, [](int pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

void Discovery::finish(Probe& probe, bool timedOut) {
    if (timedOut && probe.pid > 0) {
        ::kill(probe.pid, SIGKILL);
        killed.push_back(probe.pid);
    }
    for (int* fd : {&probe.out, &probe.err}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    // What a probe over its time had said is kept, up to its last whole line.
    const std::string said = timedOut ? probe.said.substr(0, probe.said.rfind('\n') + 1) : probe.said;
    for (FoundShare found : ProbeLines(said, probe.target.how)) {
        found.turn = probe.turn;
        report(found);
    }
    if (!timedOut && probe.status == 0) return;
    FoundShare failed;
    failed.address = probe.target.target;
    failed.how = probe.target.how;
    failed.reached = false;
    failed.turn = probe.turn;
    failed.place = INT_MAX;
    std::string complaint = probe.complaint;
    while (!complaint.empty() && complaint.back() == '\n') complaint.pop_back();
    if (const size_t line = complaint.rfind('\n'); line != std::string::npos) complaint.erase(0, line + 1);
    failed.problem = timedOut            ? "no answer within " + secondsText(options.timeLimit)
                     : complaint.empty() ? "could not be probed"
                                         : complaint;
    report(failed);
}

bool Discovery::Step(std::chrono::milliseconds wait) {
    reapKilled();
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
    // With every pipe closed, the wait is for a child's exit: in short steps.
    auto timeout = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (fds.empty()) timeout = std::min<long long>(timeout, 5);
    ::poll(fds.data(), fds.size(), static_cast<int>(std::clamp<long long>(timeout, 0, INT_MAX)));

    const auto now = Clock::now();
    for (auto probe = running.begin(); probe != running.end();) {
        Probe& p = **probe;
        if (p.out >= 0) drain(p.out, p.said);
        if (p.err >= 0) drain(p.err, p.complaint);
        bool ended = p.pid < 0;
        if (!ended && p.out < 0 && p.err < 0) {
            int status = 0;
            ended = ::waitpid(p.pid, &status, WNOHANG) == p.pid;
            if (ended) p.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
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
