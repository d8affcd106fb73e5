#include <gtest/gtest.h>

#include <string>

#include "ParameterHandler.h"
#include "StoreDump.h"

namespace {

const std::string text =
    "[Server]\nName = Tess\nEmpty =\n[Net]\nIP = 1.2.3.4\nName = net\n";

TEST(LookupTest, GetValueEmptiesValueFirst) {
    const ParameterHandler handler = FromText(text);
    struct Case {
        std::string section;
        std::string key;
        bool found;
        std::string value;
    };
    const Case cases[] = {
        {"Server", "Name", true, "Tess"},   {"Net", "Name", true, "net"},     {"Server", "Empty", true, ""},
        {"Server", "IP", false, ""},        {"Missing", "Name", false, ""},   {"server", "Name", false, ""},
        {"Server", "name", false, ""},      {"Server", " Name", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section + "/" + c.key);
        std::string value = "stale";
        EXPECT_EQ(handler.GetValue(c.section, c.key, value), c.found);
        EXPECT_EQ(value, c.value);
    }
}

TEST(LookupTest, SetValueChangesOnlyExistingParameters) {
    struct Case {
        std::string section;
        std::string key;
        bool found;
    };
    const Case cases[] = {{"Server", "Name", true}, {"Net", "IP", true},      {"Server", "Restart", false},
                          {"Other", "Name", false}, {"Server", "NAME", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section + "/" + c.key);
        ParameterHandler handler = FromText(text);
        const std::string before = Dump(handler);
        EXPECT_EQ(handler.SetValue(c.section, c.key, "changed"), c.found);
        std::string value;
        EXPECT_EQ(handler.GetValue(c.section, c.key, value), c.found);
        if (c.found) {
            EXPECT_EQ(value, "changed");
        } else {
            EXPECT_EQ(Dump(handler), before);
        }
    }
}

TEST(LookupTest, SectionLookupsRaiseParameterErrorWhenAbsent) {
    ParameterHandler handler = FromText(text);
    EXPECT_THROW(handler.GetSection("Missing"), ParameterHandler::ParameterError);
    EXPECT_THROW(handler.FindSection("net"), StoreError);

    // GetSection hands out a copy, FindSection the stored section.
    ParameterSection copy = handler.GetSection("Net");
    copy.SetValue("IP", "copy");
    std::string value;
    handler.GetValue("Net", "IP", value);
    EXPECT_EQ(value, "1.2.3.4");
    handler.FindSection("Net").SetValue("IP", "stored");
    handler.GetValue("Net", "IP", value);
    EXPECT_EQ(value, "stored");
}

// Lookups take the first section of a name; the catalogue setters reach
// every section of that name and every parameter of that key.
TEST(LookupTest, FirstSectionForLookupsEverySectionForAttributes) {
    ParameterHandler handler = FromText("[A]\nK=1\nJ=2\n[B]\nK=3\n[C]\nK=4\n");
    handler.SectionAt(2).SetName("A");
    handler.SectionAt(0).ParameterAt(1).SetKey("K");

    std::string value;
    ASSERT_TRUE(handler.GetValue("A", "K", value));
    EXPECT_EQ(value, "1");
    EXPECT_EQ(handler.FindSection("A").GetParameterAt(0).GetValue(), "1");
    ASSERT_TRUE(handler.SetValue("A", "K", "x"));
    EXPECT_EQ(handler.SectionAt(0).ParameterAt(1).GetValue(), "2");
    EXPECT_EQ(handler.SectionAt(2).ParameterAt(0).GetValue(), "4");

    handler.SetSectionTitle("A", 7);
    handler.SetParameterAttributes("A", "K", 1234, "{Edit}");
    handler.SetParameterAttributes("A", "Missing", 99, "{Stat}");
    for (int s = 0; s < handler.GetSectionCount(); ++s) {
        const ParameterSection& section = handler.SectionAt(s);
        SCOPED_TRACE(section.GetName() + std::to_string(s));
        const bool named = section.GetName() == "A";
        EXPECT_EQ(section.GetTitleId(), named ? 7 : 0);
        for (int p = 0; p < section.GetParameterCount(); ++p) {
            EXPECT_EQ(section.ParameterAt(p).GetNameId(), named ? 1234 : 0);
            EXPECT_EQ(section.ParameterAt(p).GetTypeSpec(), named ? "{Edit}" : "");
        }
    }
}

TEST(LookupTest, AddParameterJoinsOrAppends) {
    ParameterHandler handler = FromText("[A]\n  K=1 ; old\n");
    handler.AddParameter("A", "K", "2", "new", 0);
    handler.AddParameter("A", "J", "3", "", 1);
    handler.AddParameter("", "R", "rw", "", 0);
    handler.AddParameter("A", "K", "", "", 0);
    EXPECT_EQ(Dump(handler), "[A]\nK=1 ; 2 ; ||0\nJ=3||1\n[]\nR=rw||0\n");
}

}  // namespace
