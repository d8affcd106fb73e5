#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ShareLocation.h"
#include "SmbShare.h"

// Finding the appliances for the user: the network shares this computer has
// mounted, the shares opened before, and the shares a named host lists over
// SMB. Each is probed in a child process of its own (the command line's
// hidden probe), a few at a time, each killed at its time limit, so that a
// dead host or a hung mount costs its own limit and nothing more, and the
// caller never waits on one.

enum class FoundBy { Mounted, Recent, Smb };
// "mounted", "recent", "smb".
const char* FoundByName(FoundBy how);

// A share found, with what its configuration file says of the unit.
struct FoundShare {
    std::string address;
    FoundBy how = FoundBy::Mounted;
    bool appliance = false;  // its configuration file names a supported unit
    std::string product;     // what it says, when it does
    std::string version;
    std::string serial;
    // Why its configuration file could not be read; when not reached, why
    // nothing could be found there (a recent share gone, a host that cannot
    // be reached, no answer in time).
    std::string problem;
    bool reached = true;
    int turn = 0;   // where it stands: its probe's turn,
    int place = 0;  // then its place in the probe's answer
};

// What is said of a share not reached: its address and why, the address
// once (the reason may begin with it), control characters escaped.
std::string NotReachedText(const FoundShare& share);

// The shares in order, each address once (where it stands first).
std::vector<FoundShare> Distinct(std::vector<FoundShare> found);

// What one probe looks at: a folder of this computer, a share's address, or
// a host (smb://host[:port]) whose shares are listed.
struct ProbeTarget {
    std::string target;
    FoundBy how = FoundBy::Mounted;
};

// The shares this computer knows without asking any of them: the recent
// ones, newest first, then its mounted network shares (their folders).
std::vector<ProbeTarget> KnownTargets(const MountSources& mounts, const std::vector<std::string>& recent);
// The target that lists a host's shares; host is a name or an address, with
// ":PORT" when it is not the usual one. False when it names no host.
bool HostTarget(const std::string& host, ProbeTarget& target);

// The probe itself, run in the child: one line on out per share found at
// target (a folder, and when it is not a share, each of its folders one
// level down that is; a share's address; each share a host lists), with the
// share's address and what its configuration file says, as ProbeLines reads
// them. Answers false after saying on err why the target could not be
// probed.
bool ProbeShares(const std::string& target, const SmbCredentials& credentials, std::ostream& out, std::ostream& err);
// The shares of a probe's output.
std::vector<FoundShare> ProbeLines(const std::string& output, FoundBy how);
// One line of a probe's output.
std::string ProbeLine(const FoundShare& share);

// Runs probes in child processes: at most `parallel` at once, each killed
// when it has run for `timeLimit`. Each share a probe finds is reported as
// it ends; one that ran out of time reports the shares it had found by
// then, and itself as not reached. Step does the work in between; it never
// waits longer than it is told, so a window can call it from a timer.
class Discovery {
public:
    struct Options {
        std::string program;                  // the command-line program that probes
        std::vector<std::string> environment;  // NAME=VALUE added for the children (credentials)
        std::chrono::milliseconds timeLimit{2000};
        int parallel = 4;
    };
    using Report = std::function<void(const FoundShare&)>;

    Discovery(Options options, Report report);
    ~Discovery();  // kills the probes still running
    Discovery(const Discovery&) = delete;
    Discovery& operator=(const Discovery&) = delete;

    void Add(const ProbeTarget& target);
    // Starts what may start, reads what the probes said, ends what is done
    // or over its time; waits for something to happen at most wait. False
    // once every probe has ended.
    bool Step(std::chrono::milliseconds wait);
    // Runs every probe to its end.
    void Run();

private:
    struct Probe;
    void start(Probe& probe);
    void finish(Probe& probe, bool timedOut);
    void reapKilled();

    Options options;
    Report report;
    std::vector<std::unique_ptr<Probe>> waiting;
    std::vector<std::unique_ptr<Probe>> running;
    std::vector<int> killed;  // probes killed at their time limit, not yet reaped
    int turns = 0;            // probes added so far
};

// The program that probes: TESSARON_CTL when set, else tessaron-ctl beside
// the running program (or in its build folder's cli/), else on the PATH.
std::string ProbeProgram();
