#include <gtest/gtest.h>

#include <climits>

#include "FileException.h"
#include "ParameterHandler.h"
#include "StoreDump.h"

namespace {

// Sections and keys are found by their exact names; a value asked for starts
// empty, a set never adds a parameter, a section asked for must exist.
TEST(Lookup, ValuesByExactSectionAndKey) {
    const std::string text = "[Server]\nName = Tess\nEmpty =\n[Net]\nIP = 1.2.3.4\nName = net\n";
    const struct { std::string section, key; bool found; std::string value; } cases[] = {
        {"Server", "Name", true, "Tess"}, {"Net", "Name", true, "net"},   {"Server", "Empty", true, ""},
        {"Server", "IP", false, ""},      {"server", "Name", false, ""}, {"Server", " Name", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section + "/" + c.key);
        ParameterHandler handler = FromText(text);
        std::string value = "stale";
        EXPECT_EQ(handler.GetValue(c.section, c.key, value), c.found);
        EXPECT_EQ(value, c.value);
        const std::string before = Dump(handler);
        EXPECT_EQ(handler.SetValue(c.section, c.key, "changed"), c.found);
        EXPECT_EQ(handler.GetValue(c.section, c.key, value) && value == "changed", c.found);
        EXPECT_EQ(Dump(handler) == before, !c.found);
    }
    ParameterHandler handler = FromText(text);
    EXPECT_THROW(handler.GetSection("net"), ParameterHandler::ParameterError);
    EXPECT_THROW(handler.FindSection("Missing"), ParameterHandler::ParameterError);
    ParameterSection net("Net");
    EXPECT_THROW(net.SetValue("IP", "x"), ParameterNotFound);
    try {
        net.GetParameter("IP");
        FAIL() << "no exception";
    } catch (const FileException& error) {  // "Could not access parameter file!" first, naming the key
        EXPECT_EQ(error.MessageId(), 1021);
        EXPECT_NE(error.Reason().find("IP"), std::string::npos);
    }
}

TEST(Lookup, AddParameterJoinsOrAppends) {
    ParameterHandler handler = FromText("[A]\n  K=1 ; old\n");
    handler.AddParameter("A", "K", "2", "new", 0);
    handler.AddParameter("A", "J", "3", "", 1);
    handler.AddParameter("", "R", "rw", "", 0);
    EXPECT_EQ(Dump(handler), "[A]\nK=1 ; 2|new|0\nJ=3||1\n[]\nR=rw||0\n");
}

// A page shows a slice of a section: a range outside the section keeps it whole.
TEST(Lookup, KeepRangeKeepsOnlyValidRanges) {
    const struct { int first, count; std::string keys; } cases[] = {
        {1, 2, "bc"}, {3, 2, "de"}, {5, 0, ""}, {-1, 2, "abcde"}, {2, -1, "abcde"}, {4, 2, "abcde"},
        {1, INT_MAX, "abcde"}, {INT_MIN, 3, "abcde"},
    };
    for (const auto& c : cases) {
        ParameterSection section = FromText("[S]\na=1\nb=2\nc=3\nd=4\ne=5\n").GetSection("S");
        section.KeepRange(c.first, c.count);
        std::string keys;
        for (int i = 0; i < section.GetParameterCount(); ++i) keys += section.ParameterAt(i).GetKey();
        EXPECT_EQ(keys, c.keys) << c.first << "," << c.count;
    }
}

}  // namespace
