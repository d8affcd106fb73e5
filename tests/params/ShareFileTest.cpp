#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>

#include "FileException.h"
#include "FileLock.h"
#include "ShareFile.h"
#include "TempShare.h"

namespace {

namespace fs = std::filesystem;

TEST(SharePathTest, ResolvesComponentsWithoutRegardToCase) {
    TempShare share;
    share.Write("Config/Scsi.INI", "x");
    share.Write("Config/Config.ini", "x");
    share.Write("Config/DATA.txt", "x");
    share.Write("Config/Data.txt", "x");
    share.Write("Volumes/Vol1/Rights.ini", "x");
    const std::string root = share.Root();

    struct Case {
        std::string server;
        std::string relative;
        std::string expected;
    };
    const Case cases[] = {
        {root, "\\Config\\scsi.ini", root + "/Config/Scsi.INI"},
        {root, "\\CONFIG\\CONFIG.INI", root + "/Config/Config.ini"},
        {root + "/", "\\Config\\Config.ini", root + "/Config/Config.ini"},
        {root + "//", "\\config\\config.ini", root + "/Config/Config.ini"},
        {root, "Config/Scsi.ini", root + "/Config/Scsi.INI"},
        {root, "\\volumes\\VOL1\\rights.INI", root + "/Volumes/Vol1/Rights.ini"},
        {root, "\\Volumes\\", root + "/Volumes/"},
        {root, "\\config\\\\stat.txt", root + "/Config/stat.txt"},
        // An exact name wins; otherwise the byte-wise smallest of the matches.
        {root, "\\Config\\Data.txt", root + "/Config/Data.txt"},
        {root, "\\Config\\data.TXT", root + "/Config/DATA.txt"},
        // Missing components are kept as written.
        {root, "\\Config\\Missing.ini", root + "/Config/Missing.ini"},
        {root, "\\Nowhere\\Config.ini", root + "/Nowhere/Config.ini"},
        {root, "", root},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server + " + " + c.relative);
        EXPECT_EQ(SharePath(c.server, c.relative), c.expected);
    }
}

struct TextCase {
    const char* name;
    std::string bytes;
    std::string text;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class ReadTextFileTest : public testing::TestWithParam<TextCase> {};

TEST_P(ReadTextFileTest, DropsCarriageReturnBeforeLineFeedOnly) {
    TempShare share;
    share.Write("f.txt", GetParam().bytes);
    EXPECT_EQ(ReadTextFile(share.PathOf("f.txt")), GetParam().text);
}

std::string LargeFile(const std::string& lineEnd) {
    std::string text;
    for (int i = 0; i < 40000; ++i) text += "Key" + std::to_string(i) + " = value" + lineEnd;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, ReadTextFileTest,
    testing::Values(TextCase{"Empty", "", ""}, TextCase{"CrLf", "a\r\nb\r\n", "a\nb\n"},
                    TextCase{"LoneCarriageReturnKept", "a\rb\r", "a\rb\r"},
                    TextCase{"DoubleCarriageReturn", "a\r\r\n", "a\r\n"},
                    TextCase{"LastLineWithoutEnd", "a\r\nlast", "a\nlast"},
                    TextCase{"NulBytesKept", std::string("a\0b\r\n\0", 6), std::string("a\0b\n\0", 5)},
                    TextCase{"HighBytesKept", "\xe4\xf6\xfc\xff\r\n", "\xe4\xf6\xfc\xff\n"},
                    TextCase{"Large", LargeFile("\r\n"), LargeFile("\n")}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

// Large files are also read in pieces: pieces end at line ends and together
// give the same text as reading the file whole, whatever falls on the edge
// between two reads.
TEST(ReadTextFileInPiecesTest, PiecesEndAtLineEndsAndJoinToWholeText) {
    auto repeat = [](const std::string& line, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) text += line;
        return text;
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"Empty", ""},
        {"Small", "[S]\r\nK = v\r\nlast"},
        // A carriage return as the very last byte of the first 64 KiB read.
        {"CarriageReturnOnEdge", "x\n" + repeat("abc\r\n", 20000)},
        {"LineLongerThanOneRead", std::string(700000, 'x') + "\r\n" + std::string(10, 'y')},
        {"NoLineEndAtAll", std::string(300000, 'z')},
        {"LoneCarriageReturnsAndNul", repeat(std::string("a\rb\0c\r\r\n", 9), 40000) + "\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempShare share;
        share.Write("f.ini", c.bytes);
        std::string expected;
        for (size_t i = 0; i < c.bytes.size(); ++i) {
            if (c.bytes[i] == '\r' && i + 1 < c.bytes.size() && c.bytes[i + 1] == '\n') continue;
            expected += c.bytes[i];
        }
        std::string joined;
        int pieces = 0;
        bool allButLastEndLines = true;
        ReadTextFileInPieces(share.PathOf("f.ini"), [&](std::string_view piece) {
            if (pieces > 0 && (joined.empty() || joined.back() != '\n')) allButLastEndLines = false;
            joined.append(piece);
            ++pieces;
        });
        EXPECT_TRUE(allButLastEndLines);
        EXPECT_EQ(joined.size(), expected.size());
        EXPECT_TRUE(joined == expected);
        EXPECT_TRUE(ReadTextFile(share.PathOf("f.ini")) == expected);
    }
}

struct FirstLineCase {
    const char* name;
    std::string bytes;
    bool found;
    std::string line;
};

void PrintTo(const FirstLineCase& c, std::ostream* os) { *os << c.name; }

class ReadFirstLineTest : public testing::TestWithParam<FirstLineCase> {};

TEST_P(ReadFirstLineTest, ReturnsFirstLineWithoutItsEnd) {
    TempShare share;
    share.Write("f.ini", GetParam().bytes);
    std::string line = "stale";
    EXPECT_EQ(ReadFirstLine(share.PathOf("f.ini"), line), GetParam().found);
    EXPECT_EQ(line, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, ReadFirstLineTest,
    testing::Values(FirstLineCase{"EmptyFile", "", false, ""},
                    FirstLineCase{"EmptyFirstLine", "\r\nsecond\r\n", true, ""},
                    FirstLineCase{"BareLineFeed", "\nsecond", true, ""},
                    FirstLineCase{"CrLf", "QUOR Tessaron CD V3.02\r\n[Server]\r\n", true, "QUOR Tessaron CD V3.02"},
                    FirstLineCase{"OnlyLineWithoutEnd", "single", true, "single"},
                    FirstLineCase{"InnerCarriageReturnKept", "a\rb\r\nc", true, "a\rb"},
                    FirstLineCase{"NulByteKept", std::string("a\0b\nc", 5), true, std::string("a\0b", 3)},
                    FirstLineCase{"LongLine", std::string(10000, 'x') + "\r\nrest", true, std::string(10000, 'x')},
                    FirstLineCase{"CarriageReturnAtBufferEdge", std::string(4095, 'y') + "\r\n", true,
                                  std::string(4095, 'y')}),
    [](const testing::TestParamInfo<FirstLineCase>& info) { return std::string(info.param.name); });

// Each access that cannot open its file raises FileException.
struct Access {
    const char* name;
    std::function<void(const std::string&)> run;
};

const Access accesses[] = {
    {"ReadTextFile", [](const std::string& path) { ReadTextFile(path); }},
    {"ReadTextFileInPieces", [](const std::string& path) { ReadTextFileInPieces(path, [](std::string_view) {}); }},
    {"ReadFirstLine",
     [](const std::string& path) {
         std::string line;
         ReadFirstLine(path, line);
     }},
    {"WriteTextFile", [](const std::string& path) { WriteTextFile(path, "[END]\n"); }},
};

// A missing file, a folder, or a pipe in a file's place (which must not
// hang the program waiting for a writer).
TEST(ShareFileTest, MissingFileOrNoFileCannotBeOpened) {
    TempShare share;
    fs::create_directories(share.PathOf("Config"));
    ASSERT_EQ(mkfifo(share.PathOf("Config/Pipe.ini").c_str(), 0600), 0);
    for (const Access& access : accesses) {
        SCOPED_TRACE(access.name);
        EXPECT_THROW(access.run(share.PathOf("Config/Missing.ini")), FileException);
        EXPECT_THROW(access.run(share.PathOf("Config")), FileException);
        EXPECT_THROW(access.run(share.PathOf("Config/Pipe.ini")), FileException);
        EXPECT_FALSE(fs::exists(share.PathOf("Config/Missing.ini")));
    }
}

TEST(ShareFileTest, FileLockedElsewhereCannotBeOpened) {
    TempShare share;
    const std::string original = "[S]\r\nK = v\r\n[END]\r\n";
    share.Write("Config.ini", original);
    for (const Access& access : accesses) {
        SCOPED_TRACE(access.name);
        {
            FileLock lock(share.PathOf("Config.ini"));
            EXPECT_THROW(access.run(share.PathOf("Config.ini")), FileException);
        }
        EXPECT_EQ(share.Read("Config.ini"), original);
        // Once the other program lets go, the access works and releases its lock.
        EXPECT_NO_THROW(access.run(share.PathOf("Config.ini")));
        EXPECT_TRUE(IsUnlocked(share.PathOf("Config.ini")));
    }
}

TEST(WriteTextFileTest, WritesCarriageReturnLineFeedAndTruncates) {
    struct Case {
        std::string before;
        std::string text;
        std::string after;
    };
    const Case cases[] = {
        {"", "[S]\nK = v\n[END]\n", "[S]\r\nK = v\r\n[END]\r\n"},
        {std::string(5000, 'o'), "[END]\n", "[END]\r\n"},
        {"[S]\r\nK = old value that is long\r\n[END]\r\n", "[S]\nK = new\n[END]\n", "[S]\r\nK = new\r\n[END]\r\n"},
        {"x", "a\rb\n", "a\rb\r\n"},
        {"keep", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TempShare share;
        share.Write("f.ini", c.before);
        WriteTextFile(share.PathOf("f.ini"), c.text);
        EXPECT_EQ(share.Read("f.ini"), c.after);
    }
}

}  // namespace
