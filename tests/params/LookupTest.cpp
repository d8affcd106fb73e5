#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "FileException.h"
#include "ParameterHandler.h"
#include "StoreDump.h"

namespace {

const std::string text = "[Server]\nName = Tess\nEmpty =\n[Net]\nIP = 1.2.3.4\nName = net\n[Server]\nLate = 1\n";

// Sections and keys are found by their exact names; a value asked for
// starts empty, and a set never adds a parameter.
TEST(Lookup, ValuesByExactSectionAndKey) {
    const struct {
        std::string section, key;
        bool found;
        std::string value;
    } cases[] = {
        {"Server", "Name", true, "Tess"}, {"Net", "Name", true, "net"},    {"Server", "Empty", true, ""},
        {"Server", "Late", true, "1"},    {"Server", "IP", false, ""},     {"Missing", "Name", false, ""},
        {"server", "Name", false, ""},    {"Server", "name", false, ""},   {"Server", " Name", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section + "/" + c.key);
        ParameterHandler handler = FromText(text);
        std::string value = "stale";
        EXPECT_EQ(handler.GetValue(c.section, c.key, value), c.found);
        EXPECT_EQ(value, c.value);
        const std::string before = Dump(handler);
        EXPECT_EQ(handler.SetValue(c.section, c.key, "changed"), c.found);
        EXPECT_EQ(handler.GetValue(c.section, c.key, value), c.found);
        if (c.found) { EXPECT_EQ(value, "changed"); }
        if (!c.found) { EXPECT_EQ(Dump(handler), before); }
    }
}

// GetSection hands out a copy, FindSection the stored section.
TEST(Lookup, SectionsAreCopiedOrReached) {
    ParameterHandler handler = FromText(text);
    EXPECT_THROW(handler.GetSection("Missing"), ParameterHandler::ParameterError);
    EXPECT_THROW(handler.FindSection("net"), StoreError);
    handler.GetSection("Net").SetValue("IP", "copy");
    handler.FindSection("Net").SetValue("IP", "stored");
    std::string value;
    handler.GetValue("Net", "IP", value);
    EXPECT_EQ(value, "stored");
}

// Catalogue attributes reach every section of the name and every parameter of the key.
TEST(Lookup, AttributesReachEverySectionOfTheName) {
    ParameterHandler handler = FromText("[A]\nK=1\n[B]\nK=3\n[C]\nK=4\n");
    handler.SectionAt(2).SetName("A");
    handler.SetSectionTitle("A", 7);
    handler.SetParameterAttributes("A", "K", 1234, "{Edit}");
    EXPECT_EQ(handler.SectionAt(2).GetTitleId(), 7);
    EXPECT_EQ(handler.SectionAt(2).ParameterAt(0).GetNameId(), 1234);
    EXPECT_EQ(handler.SectionAt(1).GetTitleId(), 0);
    EXPECT_EQ(handler.SectionAt(1).ParameterAt(0).GetNameId(), 0);
}

TEST(Lookup, AddParameterJoinsOrAppends) {
    ParameterHandler handler = FromText("[A]\n  K=1 ; old\n");
    handler.AddParameter("A", "K", "2", "new", 0);
    handler.AddParameter("A", "J", "3", "", 1);
    handler.AddParameter("", "R", "rw", "", 0);
    EXPECT_EQ(Dump(handler), "[A]\nK=1 ; 2|new|0\nJ=3||1\n[]\nR=rw||0\n");
}

TEST(Section, KeepRangeKeepsOnlyValidRanges) {
    const struct {
        int first, count;
        std::string keys;
    } cases[] = {
        {0, 5, "abcde"}, {1, 2, "bc"},     {3, 2, "de"},     {0, 0, ""},      {5, 0, ""},
        {-1, 2, "abcde"}, {2, -1, "abcde"}, {4, 2, "abcde"}, {1, INT_MAX, "abcde"}, {INT_MIN, 3, "abcde"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + "," + std::to_string(c.count));
        ParameterSection section = FromText("[S]\na=1\nb=2\nc=3\nd=4\ne=5\n").GetSection("S");
        section.KeepRange(c.first, c.count);
        std::string keys;
        for (int i = 0; i < section.GetParameterCount(); ++i) keys += section.ParameterAt(i).GetKey();
        EXPECT_EQ(keys, c.keys);
    }
}

TEST(Section, AddReplacesValueAndCommentOfAnExistingKey) {
    ParameterSection section("S");
    Parameter first("K", "1", "c1", 1);
    first.SetNameId(7);
    section.Add(first);
    section.Add(Parameter("K", "2", "c2", 0));
    ASSERT_EQ(section.GetParameterCount(), 1);
    EXPECT_EQ(section.ParameterAt(0).GetValue() + section.ParameterAt(0).GetComment(), "2c2");
    EXPECT_EQ(section.ParameterAt(0).GetNameId(), 7);
}

// A missing key asks for "Could not access parameter file!" and names the key.
TEST(Section, AMissingKeyIsAnError) {
    ParameterSection section("S");
    EXPECT_THROW(section.SetValue("z", "x"), ParameterNotFound);
    try {
        section.GetParameter("z");
        FAIL() << "no exception";
    } catch (const FileException& error) {
        EXPECT_EQ(error.MessageId(), 1021);
        EXPECT_NE(error.Reason().find("z"), std::string::npos);
    }
}

}  // namespace
