#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "ChangeSet.h"
#include "History.h"
#include "LocalState.h"
#include "StoreError.h"

namespace {

namespace fs = std::filesystem;

TEST(ChangeSetTest, PasswordValuesAreMasked) {
    const struct {
        const char* key;
        const char* value;
        const char* shown;
    } cases[] = {
        {"Password", "secret", "********"}, {"SupervisorPassword", "x", "********"},
        {"NDSAdminPassword", "", "-"},      {"SMBPassword", "a b", "********"},
        {"PasswordHint", "kept", "kept"},   {"NetMask", "255.0.0.0", "255.0.0.0"},
        {"Name", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ShownValue(c.key, c.value), c.shown) << c.key;
}

// A private state folder for one test, with the environment pointing at it.
class LocalStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tessaron-state-" + std::to_string(::getpid()));
        fs::remove_all(root);
        ::setenv("XDG_STATE_HOME", root.c_str(), 1);
        ::unsetenv("TESSARON_HISTORY");
    }
    void TearDown() override { fs::remove_all(root); }
    static HistoryEntry write(const std::string& file, const std::string& key, const std::string& was,
                              const std::string& now) {
        HistoryEntry entry;
        entry.program = "tessaron-ctl";
        entry.serial = " 1234-5678";
        entry.changes = {file, {{"IP", key, was, now}}};
        return entry;
    }
    fs::path root;
};

TEST_F(LocalStateTest, TheSwitchTurnsTheLocalStateOff) {
    EXPECT_EQ(LocalStateFolder(), root.string() + "/tessaron");
    EXPECT_TRUE(KeepsLocalState());
    ::setenv("TESSARON_HISTORY", "off", 1);
    EXPECT_FALSE(KeepsLocalState());
    EXPECT_TRUE(UserKeepsLocalState());
    ::unsetenv("TESSARON_HISTORY");
    SetUserKeepsLocalState(false);
    EXPECT_FALSE(KeepsLocalState());
    SetUserKeepsLocalState(true);
    EXPECT_TRUE(KeepsLocalState());
}

TEST_F(LocalStateTest, WritesAreKeptNewestFirstWithTheirBytes) {
    History history("smb://tessaron1/cd");
    const int first = history.Record(write("Config/Config.ini", "NetMask", "255.0.0.0", "255.255.0.0"), "old\r\n", "new\r\n");
    HistoryEntry odd = write("Volumes/CD1/GUEST.USR", "Alias", "a\tb", "c\\n\nd");
    odd.kept = false;
    odd.serial = "other";
    const int second = history.Record(odd, std::string("\0x", 2), "");

    const std::vector<HistoryEntry> entries = history.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, second);
    EXPECT_EQ(entries[1].id, first);
    EXPECT_EQ(entries[0].changes, odd.changes);  // tabs, line ends and backslashes survive
    EXPECT_FALSE(entries[0].kept);
    EXPECT_TRUE(entries[1].kept);
    EXPECT_EQ(entries[1].address, "smb://tessaron1/cd");
    EXPECT_EQ(entries[1].program, "tessaron-ctl");
    EXPECT_EQ(history.BytesBefore(first), "old\r\n");
    EXPECT_EQ(history.BytesAfter(first), "new\r\n");
    EXPECT_EQ(history.BytesBefore(second), std::string("\0x", 2));
    EXPECT_EQ(history.Entries("Config/Config.ini").size(), 1u);
    EXPECT_EQ(history.Serials(), (std::vector<std::string>{" 1234-5678", "other"}));
    EXPECT_FALSE(history.Find(second + 1));
    EXPECT_TRUE(History("smb://tessaron2/cd").Entries().empty());

    // Readable by the user alone.
    struct stat info {};
    ASSERT_EQ(::stat((root / "tessaron/history").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(LocalStateTest, TheOldestWritesGoFirst) {
    struct {
        int maxEntries;
        std::uintmax_t maxBytes;
        size_t bytesEach;
        std::vector<int> left;
    } cases[] = {
        {3, 1 << 20, 10, {5, 4, 3}},
        {10, 35000, 10000, {5, 4, 3}},  // a write's bytes and its record count
        {10, 10, 30, {5}},              // the newest stays, whatever its size
    };
    for (const auto& c : cases) {
        fs::remove_all(root);
        History history("/mnt/tessaron", c.maxEntries, c.maxBytes);
        for (int i = 0; i < 5; ++i) history.Record(write("Config/Config.ini", "NetMask", "a", "b"), "", std::string(c.bytesEach, 'x'));
        std::vector<int> left;
        for (const HistoryEntry& entry : history.Entries()) left.push_back(entry.id);
        EXPECT_EQ(left, c.left) << c.maxEntries << " " << c.maxBytes;
    }
}

TEST_F(LocalStateTest, AHistoryThatCannotBeWrittenSaysSo) {
    // A file where the state folder should be: no folder can be made there.
    fs::create_directories(root);
    { std::ofstream(root / "file") << "x"; }
    ::setenv("XDG_STATE_HOME", (root / "file").c_str(), 1);
    History history("/mnt/tessaron");
    EXPECT_THROW(history.Record(write("Config/Config.ini", "NetMask", "a", "b"), "", ""), StoreError);
    EXPECT_TRUE(history.Entries().empty());
}

}  // namespace
