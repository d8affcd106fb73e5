#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "FileException.h"
#include "ParameterSection.h"

namespace {

ParameterSection Letters() {
    ParameterSection section("S", 5);
    for (const char* key : {"a", "b", "c", "d", "e"}) section.Add(Parameter(key, std::string(key) + "v", "", 0));
    return section;
}

std::string Keys(const ParameterSection& section) {
    std::string keys;
    for (int i = 0; i < section.GetParameterCount(); ++i) keys += section.ParameterAt(i).GetKey();
    return keys;
}

TEST(ParameterSectionTest, KeepRangeKeepsOnlyValidRanges) {
    struct Case {
        int first;
        int count;
        std::string keys;
    };
    const Case cases[] = {
        {0, 5, "abcde"}, {1, 2, "bc"},      {3, 2, "de"},      {0, 0, ""},         {5, 0, ""},
        {4, 1, "e"},     {-1, 2, "abcde"},  {2, -1, "abcde"},  {4, 2, "abcde"},    {6, 0, "abcde"},
        {1, INT_MAX, "abcde"}, {INT_MAX, INT_MAX, "abcde"}, {INT_MIN, 3, "abcde"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + "," + std::to_string(c.count));
        ParameterSection section = Letters();
        section.KeepRange(c.first, c.count);
        EXPECT_EQ(Keys(section), c.keys);
        EXPECT_EQ(section.GetName(), "S");
        EXPECT_EQ(section.GetTitleId(), 5);
    }
}

// Pages keep two copies of a section and compare them: a copy must never
// share anything with its original.
TEST(ParameterSectionTest, CopiesAreIndependent) {
    ParameterSection original("Server", 42);
    Parameter parameter("Name", "Tess", "note", 1);
    parameter.SetNameId(1100);
    parameter.SetTypeSpec("{Edit}");
    parameter.SetCheckState(1);
    original.Add(parameter);

    ParameterSection copy = original;
    ParameterSection assigned;
    assigned = original;
    for (ParameterSection* changed : {&copy, &assigned}) {
        EXPECT_EQ(changed->GetName(), "Server");
        EXPECT_EQ(changed->GetTitleId(), 42);
        const Parameter& p = changed->ParameterAt(0);
        EXPECT_EQ(p.GetKey(), "Name");
        EXPECT_EQ(p.GetValue(), "Tess");
        EXPECT_EQ(p.GetComment(), "note");
        EXPECT_EQ(p.GetIndented(), 1);
        EXPECT_EQ(p.GetNameId(), 1100);
        EXPECT_EQ(p.GetTypeSpec(), "{Edit}");
        EXPECT_EQ(p.GetCheckState(), 1);
        changed->SetValueAt(0, "changed");
        changed->ParameterAt(0).SetTypeSpec("{Stat}");
        changed->Add(Parameter("New", "x", "", 0));
        changed->SetTitleId(0);
    }
    EXPECT_EQ(original.GetParameterCount(), 1);
    EXPECT_EQ(original.GetValueAt(0), "Tess");
    EXPECT_EQ(original.ParameterAt(0).GetTypeSpec(), "{Edit}");
    EXPECT_EQ(original.GetTitleId(), 42);

    // GetParameterAt hands out a copy as well.
    Parameter fetched = original.GetParameterAt(0);
    fetched.SetValue("other");
    EXPECT_EQ(original.GetValueAt(0), "Tess");
}

TEST(ParameterSectionTest, AddReplacesValueAndCommentOfExistingKey) {
    ParameterSection section("S");
    Parameter first("K", "1", "c1", 1);
    first.SetNameId(7);
    section.Add(first);
    section.Add(Parameter("K", "2", "c2", 0));
    ASSERT_EQ(section.GetParameterCount(), 1);
    const Parameter& kept = section.ParameterAt(0);
    EXPECT_EQ(kept.GetValue(), "2");
    EXPECT_EQ(kept.GetComment(), "c2");
    EXPECT_EQ(kept.GetIndented(), 1);
    EXPECT_EQ(kept.GetNameId(), 7);
}

TEST(ParameterSectionTest, MissingKeys) {
    ParameterSection section = Letters();
    std::string value = "untouched";
    EXPECT_FALSE(section.GetValue("z", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_TRUE(section.GetValue("c", value));
    EXPECT_EQ(value, "cv");

    EXPECT_THROW(section.SetValue("z", "x"), ParameterNotFound);
    try {
        section.GetParameter("z");
        FAIL() << "no exception";
    } catch (const FileException& error) {
        EXPECT_EQ(error.MessageId(), 1021);  // "Could not access parameter file!" comes first
        EXPECT_NE(error.Reason().find("z"), std::string::npos);
    }
    EXPECT_EQ(section.GetParameter("a").GetValue(), "av");
}

}  // namespace
