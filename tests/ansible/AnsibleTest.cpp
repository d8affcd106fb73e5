// The Ansible module run for real: ansible-playbook against three simulated
// appliances on this machine, and against one reached over SMB as a user.
#include <atomic>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sys/wait.h>
#include <thread>

#include <gtest/gtest.h>

#include "MountedSim.h"
#include "SambaServer.h"
#include "TempShare.h"

namespace {

// What a run of ansible-playbook printed, and how it ended.
struct PlayRun {
    int code = -1;
    std::string output;
};

std::string ansibleMissing() {
    if (!Shell("command -v ansible-playbook")) return "no ansible-playbook (Debian package ansible-core)";
    return FuseMissing();
}

// A play of the module on every host of the inventory, with the settings
// given as YAML (the host's variables in reach).
std::string play(const std::string& settings) {
    return "- hosts: tessaron\n  connection: local\n  gather_facts: false\n  tasks:\n"
           "    - tessaron_config:\n        share: \"{{ share }}\"\n        ctl: " TESSARON_CTL_BINARY "\n"
           "        user: \"{{ smb_user | default(omit) }}\"\n        password: \"{{ smb_password | default(omit) }}\"\n"
           "        settings:\n" + settings;
}

class AnsibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = ansibleMissing(); !missing.empty()) GTEST_SKIP() << missing;
        char pattern[] = "/tmp/tessaron-ansible-XXXXXX";
        work = ::mkdtemp(pattern);
    }
    void TearDown() override {
        if (!work.empty()) std::filesystem::remove_all(work);
    }

    // Runs a play over an inventory of name → share (and variables).
    PlayRun run(const std::string& playbook, const std::string& inventory, const std::string& options = "") {
        std::ofstream(work + "/play.yml") << playbook;
        std::ofstream(work + "/inventory.yml") << "tessaron:\n  hosts:\n" << inventory;
        const std::string command = "cd " + work + " && LC_ALL=C.UTF-8 ANSIBLE_LIBRARY=" TESSARON_SOURCE_DIR
                                    "/contrib/ansible/library ANSIBLE_NOCOLOR=1 ANSIBLE_PYTHON_INTERPRETER=auto_silent"
                                    " ANSIBLE_LOCAL_TEMP=" + work + "/tmp ANSIBLE_HOME=" + work +
                                    "/home ansible-playbook -i inventory.yml play.yml " + options + " 2>&1";
        PlayRun result;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) result.output.append(buffer, got);
        const int status = ::pclose(pipe);
        result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    // "changed=N failed=M" of a host in the play's recap.
    static std::string recap(const PlayRun& run, const std::string& host) {
        std::smatch match;
        const std::regex line(host + R"( +: ok=\d+ +changed=(\d+) +unreachable=\d+ +failed=(\d+))");
        return std::regex_search(run.output, match, line) ? "changed=" + match.str(1) + " failed=" + match.str(2) : "";
    }

    std::string work;
};

std::string valueIn(const TempShare& state, const std::string& key) {
    const std::string text = state.Read("Config/Config.ini");
    const size_t at = text.find("\n" + key + " = ");
    return at == std::string::npos ? "" : text.substr(at + key.size() + 4, text.find_first_of(" \r", at + key.size() + 4) - at - key.size() - 4);
}

// Three appliances, the third refusing the trap destination the play sets:
// the first run changes two and fails the third, whose value stays; a
// second run changes nothing; a check run writes nothing and says what
// would change; a diff run shows old and new values, passwords masked.
TEST_F(AnsibleTest, APlayConfiguresEveryApplianceAndThenNothingChanges) {
    const TempShare a(TempShare::Contents::Sample), b(TempShare::Contents::Sample), c(TempShare::Contents::Sample);
    const MountedSim simA(a.Root(), {"--restart-seconds", "1"}), simB(b.Root(), {"--restart-seconds", "1"});
    const MountedSim simC(c.Root(), {"--refuse", "SNMP/TrapDestination=10\\..*"});
    ASSERT_TRUE(simA.Mounted() && simB.Mounted() && simC.Mounted());
    const std::string inventory = "    a: {share: " + simA.Mount() + "}\n    b: {share: " + simB.Mount() +
                                  "}\n    c: {share: " + simC.Mount() + "}\n";
    const std::string settings = "          config:\n            SNMP: {TrapDestination: \"{{ trap }}\"}\n"
                                 "            HTTP/FTP: {Password: \"{{ secret }}\"}\n";
    const std::string vars = "-e trap=10.0.0.9 -e secret=s3cr3tWord";

    const PlayRun first = run(play(settings), inventory, vars);
    EXPECT_NE(first.code, 0);
    EXPECT_EQ(recap(first, "a"), "changed=1 failed=0") << first.output;
    EXPECT_EQ(recap(first, "b"), "changed=1 failed=0");
    EXPECT_NE(recap(first, "c").find("failed=1"), std::string::npos);  // its trap destination was not kept
    EXPECT_EQ(valueIn(a, "TrapDestination"), "10.0.0.9");
    EXPECT_EQ(valueIn(c, "TrapDestination"), "192.168.1.10");
    EXPECT_NE(first.output.find("not kept: SNMP TrapDestination"), std::string::npos) << first.output;

    const PlayRun second = run(play(settings), inventory, vars + " --limit a,b");
    EXPECT_EQ(second.code, 0) << second.output;
    EXPECT_EQ(recap(second, "a"), "changed=0 failed=0") << second.output;
    EXPECT_EQ(recap(second, "b"), "changed=0 failed=0");

    const std::string before = a.Read("Config/Config.ini");
    const PlayRun check = run(play(settings), inventory, "-e trap=10.0.0.7 -e secret=0therWord --check --diff --limit a");
    EXPECT_EQ(check.code, 0) << check.output;
    EXPECT_EQ(recap(check, "a"), "changed=1 failed=0");
    EXPECT_EQ(a.Read("Config/Config.ini"), before);
    EXPECT_NE(check.output.find("-[SNMP] TrapDestination = 10.0.0.9"), std::string::npos) << check.output;
    EXPECT_NE(check.output.find("+[SNMP] TrapDestination = 10.0.0.7"), std::string::npos);
    EXPECT_NE(check.output.find("[HTTP/FTP] Password = ********"), std::string::npos);
    for (const char* secret : {"s3cr3tWord", "0therWord"}) {
        EXPECT_EQ(first.output.find(secret), std::string::npos) << secret;
        EXPECT_EQ(check.output.find(secret), std::string::npos) << secret;
    }
}

// A restart or a factory reset is never part of a settings run.
TEST_F(AnsibleTest, RequestsAreRefusedByTheModule) {
    const TempShare a(TempShare::Contents::Sample);
    const MountedSim sim(a.Root(), {});
    const std::string before = a.Read("Config/Config.ini");
    const PlayRun refused = run(play("          config: {Server: {FactoryDefaults: true}}\n"),
                                "    a: {share: " + sim.Mount() + "}\n");
    EXPECT_NE(refused.code, 0);
    EXPECT_NE(refused.output.find("FactoryDefaults is a request, not a setting"), std::string::npos) << refused.output;
    EXPECT_EQ(a.Read("Config/Config.ini"), before);
}

// Over SMB as a user: the password reaches tessaron-ctl in its environment,
// and never shows in the play's output or in any process's command line.
TEST_F(AnsibleTest, ThePasswordShowsNowhere) {
    if (const std::string missing = SambaServer::Missing(); !missing.empty()) GTEST_SKIP() << missing;
    if (::getuid() != 0) GTEST_SKIP() << "the test server's locked share is for root";
    const TempShare state(TempShare::Contents::Sample);
    const MountedSim sim(state.Root(), {});
    // A password of this test's own: other tests' servers show theirs on their command lines.
    const std::string password = "Pw" + std::to_string(::getpid()) + "q";
    const SambaServer samba(sim.Mount(), password);
    std::atomic<bool> playing{true};
    std::string seen;
    std::thread watch([&] {
        while (playing) {
            FILE* ps = ::popen("ps -eo args", "r");
            char buffer[4096];
            while (size_t got = std::fread(buffer, 1, sizeof buffer, ps)) seen.append(buffer, got);
            ::pclose(ps);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const PlayRun played = run(play("          config: {SNMP: {SystemContact: Helpdesk2}}\n"),
                               "    a: {share: \"" + samba.Address("locked") + "\", smb_user: root, smb_password: " + password + "}\n");
    playing = false;
    watch.join();
    EXPECT_EQ(played.code, 0) << played.output;
    EXPECT_EQ(recap(played, "a"), "changed=1 failed=0") << played.output;
    EXPECT_EQ(played.output.find(password), std::string::npos);
    EXPECT_EQ(seen.find(password), std::string::npos);
    EXPECT_NE(seen.find("ansible"), std::string::npos);  // the watch saw the play run
}

}  // namespace
