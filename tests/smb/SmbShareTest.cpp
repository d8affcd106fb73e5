#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include <QTreeWidget>

#include "ChooseServerDlg.h"
#include "CtlRun.h"
#include "FileException.h"
#include "LocalState.h"
#include "MountedSim.h"
#include "PageFixture.h"
#include "QtTestMain.h"
#include "SambaServer.h"
#include "ServerShare.h"
#include "SmbShare.h"
#include "StringTable.h"

namespace {

// Names on a share reached over SMB become addresses below the share; a
// name that climbs out of it is refused before anything is sent.
TEST(SmbNames, AddressesStayInsideTheShare) {
    NetworkPath network{"host", "4455", "cd", {"sub dir"}};
    EXPECT_EQ(SmbAddress(network), "smb://host:4455/cd/sub%20dir");
    const SharePtr share = OpenSmbShare(network, {});
    EXPECT_EQ(share->PathOf("\\Config\\Config.ini"), "smb://host:4455/cd/sub%20dir/Config/Config.ini");
    EXPECT_EQ(share->PathOf(share->PathOf("Volumes/A B.USR")), "smb://host:4455/cd/sub%20dir/Volumes/A%20B.USR");
    const std::string root = share->PathOf("");
    for (const std::string& name : std::vector<std::string>{"../x", "Volumes\\..\\..\\x", "./x", "smb://other/cd/x",
             root + "/..%2Fabove.ini", root + "/Volumes%5C..%5C..%5Cx", root + "/%2E%2E/x", root + "dir/x"}) {
        EXPECT_THROW(share->PathOf(name), FileException) << name;
    }
    // Where the desktop's own mounts are looked for.
    EXPECT_EQ(GvfsRoot("/tmp/session", 1000), "/tmp/session/gvfs");
    EXPECT_EQ(GvfsRoot("", 1000), "/run/user/1000/gvfs");
}

// A Samba server on the loopback interface serving a simulated appliance (which writes its files back
// in its own form, as a real server does), reached through the desktop's mount of it and with no mount
// at all, by the command line and by the main window.
class SmbTest : public PageTest {
protected:
    static void SetUpTestSuite() {
        skipped = SambaServer::Missing().empty() ? FuseMissing() : SambaServer::Missing();
        if (!skipped.empty()) return;
        state = std::make_unique<TempShare>(TempShare::Contents::Sample);
        sim = std::make_unique<MountedSim>(state->Root(), std::vector<std::string>{"--restart-seconds", "0"});
        plain = std::make_unique<TempShare>();
        samba = std::make_unique<SambaServer>(sim->Mount(), plain->Root());
        if (!samba->Up()) skipped = "smbd did not start";
    }
    static void TearDownTestSuite() {
        samba.reset();
        plain.reset();
        sim.reset();
        state.reset();
    }
    void SetUp() override {
        if (!skipped.empty()) GTEST_SKIP() << skipped;
        PageTest::SetUp();
    }

    static inline std::string skipped;
    static inline std::unique_ptr<TempShare> state, plain;
    static inline std::unique_ptr<MountedSim> sim;
    static inline std::unique_ptr<SambaServer> samba;
};

TEST_F(SmbTest, WithoutAMountTheShareIsReachedOverSmb) {
    if (!Shell("strace -V")) GTEST_SKIP() << "no strace to stop the server part-way through a write";
    const ScopedRuntimeDir noDesktopMounts(state->Root());
    const std::string cd = samba->Address();
    EXPECT_EQ(RunCtl({"set", cd, "IP", "NetMask", "255.255.0.0"}).code, 0);
    EXPECT_EQ(RunCtl({"get", cd, "IP", "NetMask"}).out, "255.255.0.0\n");
    EXPECT_EQ(RunCtl({"identify", cd}).code, 0);  // the server wrote its product line back
    // From here on the server's process for a connection is killed when it shortens the file: the write's
    // outcome is unknown, and the command says that the file may have been written.
    const TempShare scratch;
    const std::string smbd = std::to_string(samba->Pid()), tracer = scratch.PathOf("tracer.pid");
    ASSERT_TRUE(Shell("strace -f -qq -o /dev/null -P " + sim->Mount() + "/Config/Config.ini -e inject=ftruncate:signal=KILL -p " +
                      smbd + " & echo $! >" + tracer));
    const auto traced = [&] { return Shell("grep -q '^TracerPid:[[:space:]]*[1-9]' /proc/" + smbd + "/status"); };
    ASSERT_TRUE(WaitFor(traced));
    const struct { std::vector<std::string> args; std::string said; } failures[] = {
        {{"set", cd, "IP", "NetMask", "255.0.0.0"},
         "Config.ini: the connection to the server was lost during the write, so the file may have been written"},
        {{"get", cd, "", "Alias", "--file", "Volumes/CDROM1/NOPE.USR"}, "NOPE.USR"},
        {{"identify", "smb://127.0.0.1:1/cd"}, "(smb://127.0.0.1:1: the server cannot be found or reached"},
        {{"identify", samba->Address("nosuch")}, "the server has no such share"},
        {{"identify", samba->Address("locked")}, LoadString(60024)},
    };
    for (const auto& failure : failures) {
        const CtlResult result = RunCtl(failure.args);
        EXPECT_EQ(result.code, 2) << result.err;
        EXPECT_NE(result.err.find(failure.said), std::string::npos) << result.err;
    }
    Shell("kill $(cat " + tracer + ")");
    EXPECT_TRUE(WaitFor([&] { return !traced(); }));
    std::vector<std::string> asRoot{"identify", samba->Address("locked"), "--user", "root"};
    ::setenv("TESSARON_SMB_PASSWORD", "secret", 1);
    EXPECT_EQ(RunCtl(asRoot).code, 0);
    ::unsetenv("TESSARON_SMB_PASSWORD");
}

// A set of one value straight over SMB sends few requests: one connection, the file opened once for
// its reading and its writing, and read back after the close.
TEST_F(SmbTest, ASetSendsFewRequests) {
    const ScopedRuntimeDir noDesktopMounts(state->Root());
    const std::map<std::string, long> before = samba->Requests();
    ASSERT_EQ(RunCtl({"set", samba->Address(), "IP", "NetMask", "255.255.254.0"}).code, 0);
    long sent = 0;  // on the set's own connection: other connections may still be ending
    for (const auto& [process, served] : samba->Requests()) sent += before.count(process) ? 0 : served;
    EXPECT_GT(sent, 0);
    EXPECT_LE(sent, 21);
}

TEST_F(SmbTest, TheDesktopsMountIsUsedInEveryFormOfTheAddress) {
    if (const std::string missing = GvfsMount::Missing(); !missing.empty()) GTEST_SKIP() << missing;
    GvfsMount mount(samba->Address());
    const std::string folder = mount.Folder();
    ASSERT_FALSE(folder.empty()) << "the desktop did not mount " << samba->Address();
    for (const std::string& form : {samba->Address(), std::string("\\\\127.0.0.1\\cd"), std::string("//127.0.0.1/cd"), folder}) {
        EXPECT_EQ(RunCtl({"identify", form}).code, 0) << form;
    }
    // The mount takes no read-write open: the file is replaced whole.
    const CtlResult set = RunCtl({"set", "//127.0.0.1/cd", "SNMP", "SystemContact", "Desk"});
    EXPECT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(RunCtl({"get", folder, "SNMP", "SystemContact"}).out, "Desk\n");
}

// The window asks who connects when the server wants a user name and password first.
TEST_F(SmbTest, WithNothingMountedTheWindowWorksOverSmbAndAsksWhoConnects) {
    const ScopedRuntimeDir noDesktopMounts(share.Root());
    int asked = 0;
    app.SetLogInAsker([&](const std::string& address, SmbCredentials& credentials) {
        ++asked;
        EXPECT_EQ(address, samba->Address("locked"));
        credentials = {"root", "secret"};
        return true;
    });
    app.SetServerPath(samba->Address("locked"));
    ASSERT_NE(OpenSheet(), nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_EQ(Sheet()->count(), 9);
}

// A host's shares listed over SMB: the appliance's with its serial number, the others with --all; a host
// that cannot be reached is named. The window's first dialog finds the appliance by its host and opens it.
TEST_F(SmbTest, DiscoverFindsTheAppliancesOfAHost) {
    const ScopedRuntimeDir noDesktopMounts(state->Root());
    ::setenv("TESSARON_CTL", TESSARON_CTL_BINARY, 1);
    const std::string found = samba->Address() + "\tsmb\tQUOR Tessaron CD\t4.00\t1234-5678\n";
    const std::string unreachable = "smb://127.0.0.1:1: the server cannot be found or reached";
    const struct { std::vector<std::string> args; int code; std::vector<std::string> out; std::string err; } cases[] = {
        {{"discover", samba->Host()}, 0, {found}, ""},
        {{"discover", samba->Host(), "--all"}, 0, {found, samba->Address("plain") + "\tsmb\t\t\t\n",
                                                   samba->Address("locked") + "\tsmb\t\t\t\n"}, ""},
        {{"discover", "127.0.0.1:1", samba->Host()}, 0, {found}, unreachable},
        {{"discover", "127.0.0.1:1"}, 2, {}, unreachable},
    };
    for (const auto& c : cases) {
        const CtlResult result = RunCtl(c.args);
        EXPECT_EQ(result.code, c.code) << result.err;
        size_t lines = 0;
        for (const std::string& line : c.out) lines += result.out.find(line) != std::string::npos ? 1 : 0;
        EXPECT_EQ(lines, c.out.size()) << result.out;
        EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), static_cast<long>(c.out.size())) << result.out;
        EXPECT_EQ(result.err.find(c.err), 0u) << result.err;
    }

    // The dialog, by keyboard: the host looked up, its appliance opened, and put at the top of the recent list
    // (one of this test's own: other tests open shares meanwhile).
    const TempShare home;
    ::setenv("XDG_STATE_HOME", home.Root().c_str(), 1);
    std::string opened;
    app.SetFolderChooser([&] {
        ChooseServerDlg dialog({}, nullptr);
        WhenModalShown([&](QWidget*) {
            dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            QTest::keyClick(&dialog, Qt::Key_H, Qt::AltModifier);
            QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(samba->Host()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            const auto* servers = dialog.findChild<QTreeWidget*>(QStringLiteral("servers"));
            ASSERT_TRUE(QTest::qWaitFor([&] { return servers->hasFocus() && servers->currentItem(); }, 10000));
            EXPECT_EQ(servers->currentItem()->text(2), QStringLiteral("1234-5678"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        return dialog.Choose();
    });
    app.SetMainWindowRunner([&](ConfigApp& running) {
        opened = running.GetServerPath();
        running.IdentifyServer();
    });
    EXPECT_EQ(app.StartUp({}), 0);
    EXPECT_EQ(opened, samba->Address());
    EXPECT_EQ(RecentShares(), std::vector<std::string>{samba->Address()});
    ::setenv("XDG_STATE_HOME", TESSARON_TEST_STATE, 1);
}

}  // namespace

TESSARON_QT_TEST_MAIN()
