// discover: the servers' shares this computer can find, each probed in a
// child process of its own with a time limit.
#include <CLI/CLI.hpp>

#include <cmath>

#include "CommandSupport.h"
#include "Discovery.h"
#include "LocalState.h"
#include "ShareLocation.h"
#include "ShownText.h"

namespace {

constexpr double kDefaultSeconds = 2;

// One line: ADDRESS, HOW, PRODUCT, VERSION, SERIAL, separated by tabs.
void printLine(const Console& console, const FoundShare& share) {
    console.PrintUtf8(ShownName(share.address) + '\t' + FoundByName(share.how) + '\t');
    console.Print(EscapeServerControls(share.product) + '\t' + EscapeServerControls(share.version) + '\t' +
                  EscapeServerControls(share.serial) + '\n');
}

void printJson(const Console& console, const std::vector<FoundShare>& shares) {
    console.out << '[';
    for (size_t i = 0; i < shares.size(); ++i) {
        console.out << (i == 0 ? "\n  {\"address\": " : ",\n  {\"address\": ");
        PrintJsonText(console.out, NameText(shares[i].address));
        console.out << ", \"how\": \"" << FoundByName(shares[i].how) << "\", \"product\": ";
        PrintJsonString(console.out, shares[i].product);
        console.out << ", \"version\": ";
        PrintJsonString(console.out, shares[i].version);
        console.out << ", \"serial\": ";
        PrintJsonString(console.out, shares[i].serial);
        console.out << '}';
    }
    console.out << (shares.empty() ? "]\n" : "\n]\n");
}

class DiscoverCommand final : public CtlCommand {
public:
    void Define(CLI::App& command) override {
        command.add_option("HOST", hosts,
                           "A host whose shares are listed over SMB: a name or address, with :PORT when it is not "
                           "the usual one. Without HOST: the shares this computer has mounted and those opened "
                           "before");
        command.add_flag("--all", all, "List the shares that are not a server's too, with empty fields");
        command.add_option("--timeout", seconds, "Seconds each probe may take (default 2)")
            ->type_name("S")
            ->check(CLI::Range(0.1, 3600.0));
        // The probe itself, run by discover in a child process: not for users.
        probe = command.add_option("--probe", target)->group("");
    }

    void Parsed(const CLI::App& command, std::vector<std::string> afterOptions) override {
        (void)command, (void)afterOptions;
        for (const std::string& host : hosts) {
            ProbeTarget ignored;
            if (!HostTarget(host, ignored)) throw CLI::ValidationError("HOST", "not a host name or address: " + host);
        }
    }

    int Run(const Console& console, const ShareOptions& options) override {
        if (probe->count() > 0) {
            return ProbeShares(target, console.credentials, console.out, console.err) ? ExitDone : ExitFileError;
        }
        const std::vector<FoundShare> found = discover(console);
        std::vector<FoundShare> listed;
        bool appliance = false, hostFailed = false;
        for (const FoundShare& share : found) {
            if (!share.reached) {
                console.SayUtf8(NotReachedText(share));
                hostFailed = hostFailed || share.how == FoundBy::Smb;
            } else if (share.appliance || all) {
                listed.push_back(share);
            }
            appliance = appliance || share.appliance;
        }
        if (options.json) {
            printJson(console, listed);
        } else {
            for (const FoundShare& share : listed) printLine(console, share);
        }
        if (appliance) return ExitDone;
        console.SayUtf8("No QUOR Tessaron server found.");
        return hostFailed ? ExitFileError : ExitNotFoundOrInvalid;
    }

private:
    // Every share found, in order, each once.
    std::vector<FoundShare> discover(const Console& console) const {
        Discovery::Options settings;
        settings.program = ProbeProgram();
        settings.environment = {"TESSARON_SMB_USER=" + console.credentials.user,
                                "TESSARON_SMB_PASSWORD=" + console.credentials.password};
        settings.timeLimit = std::chrono::milliseconds(std::llround(seconds * 1000));
        std::vector<FoundShare> found;
        Discovery discovery(settings, [&](const FoundShare& share) { found.push_back(share); });
        std::vector<ProbeTarget> targets;
        for (const std::string& host : hosts) HostTarget(host, targets.emplace_back());
        if (hosts.empty()) targets = KnownTargets(SystemMountSources(), RecentShares());
        for (const ProbeTarget& each : targets) discovery.Add(each);
        discovery.Run();
        return Distinct(std::move(found));
    }

    std::vector<std::string> hosts;
    bool all = false;
    double seconds = kDefaultSeconds;
    CLI::Option* probe = nullptr;
    std::string target;
};

}  // namespace

std::unique_ptr<CtlCommand> MakeDiscoverCommand() { return std::make_unique<DiscoverCommand>(); }
