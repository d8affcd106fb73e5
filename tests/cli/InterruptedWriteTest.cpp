#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "ParameterHandler.h"
#include "ShareFile.h"
#include "TempShare.h"

namespace {

// The sections, keys and values a file's bytes read as: what the server
// takes from the file, remarks aside.
std::string parametersOf(const std::string& bytes) {
    ParameterHandler handler;
    handler.ReadText(TextOfBytes(bytes));
    std::string out;
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& section = handler.SectionAt(s);
        out += "[" + section.GetName() + "]\n";
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            out += section.ParameterAt(p).GetKey() + "=" + section.ParameterAt(p).GetValue() + "\n";
        }
    }
    return out;
}

int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

const std::string kSet = std::string(TESSARON_CTL_BINARY) + " set SHARE IP NetMask 255.255.0.0 2>/dev/null";

std::string commandOn(const TempShare& share, const std::string& prefix) {
    std::string command = prefix + kSet;
    command.replace(command.find("SHARE"), 5, share.Root());
    return command;
}

// A set killed at each system call of its write (and of the reading the
// write begins with) leaves a file that reads as the old parameters or as
// the new ones, never as a mix; so does a file-size limit, which fails the
// write (the old bytes go back) instead of killing the program part-way.
TEST(InterruptedWrite, LeavesTheOldOrTheNewParameters) {
    TempShare fresh(TempShare::Contents::Sample);
    const std::string oldParameters = parametersOf(fresh.Read("Config/Config.ini"));
    ASSERT_EQ(run(commandOn(fresh, "")), 0);
    const std::string newParameters = parametersOf(fresh.Read("Config/Config.ini"));
    ASSERT_NE(newParameters, oldParameters);

    if (run("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed: cannot stop a write part-way";
    // Calls on the configuration file, counted from the start: the second
    // open, lock and first two reads begin the write.
    const char* const stops[] = {"openat:2", "flock:2", "pread64:3", "pwritev:1", "ftruncate:1", "fsync:1"};
    for (const std::string stop : stops) {
        SCOPED_TRACE(stop);
        TempShare share(TempShare::Contents::Sample);
        const std::string call = stop.substr(0, stop.find(':'));
        const std::string strace = "strace -f -qq -o /dev/null -P " + share.PathOf("Config/Config.ini") +
                                   " -e trace=" + call + " -e inject=" + call +
                                   ":signal=KILL:when=" + stop.substr(stop.find(':') + 1) + " ";
        EXPECT_EQ(run(commandOn(share, strace)), 128 + SIGKILL);
        const std::string left = parametersOf(share.Read("Config/Config.ini"));
        EXPECT_TRUE(left == oldParameters || left == newParameters) << left;
    }
    TempShare limited(TempShare::Contents::Sample);
    const std::string before = limited.Read("Config/Config.ini");
    EXPECT_EQ(run(commandOn(limited, "prlimit --fsize=100 ")), 2);
    EXPECT_EQ(limited.Read("Config/Config.ini"), before);
}

}  // namespace
