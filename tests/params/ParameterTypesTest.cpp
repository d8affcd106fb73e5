#include <gtest/gtest.h>

#include <vector>

#include "Parameter.h"
#include "ParameterSection.h"

namespace {

Parameter Make(const std::string& typeSpec, const std::string& value = "", const std::string& comment = "",
               const std::string& key = "Key", int checkState = 0) {
    Parameter parameter(key, "", comment, 0);
    parameter.SetTypeSpec(typeSpec);
    parameter.SetValue(value);
    parameter.SetCheckState(checkState);
    return parameter;
}

const std::string dateSpec = "{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}";

TEST(ParameterType, TypeWordAndCheckKind) {
    const struct { std::string typeSpec, comment, type, ddv; } cases[] = {
        {"{Type Combo yes/no}", "", "Combo", ""},
        {dateSpec, "", "EditCheck", "Date"},
        {"{DDV Int -5 7} {Type Edit} {UpperCase}", "", "Edit", "Int -5 7"},  // group order does not matter
        {"", "yes/no", "UnknownCombo", ""},
        {"", "Cannot be changed", "Unknown", ""},
        {"{type Edit}", "", "Unknown", ""},  // group names are case-sensitive
        {"{Type", "", "", ""},               // a truncated group names no word
        {"{Type Edit} {DDV Text 15", "", "Edit", "Text 15"},
        {"{Type Edit} {DDV}", "", "Edit", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeSpec + " / " + c.comment);
        EXPECT_EQ(Make(c.typeSpec, "", c.comment).GetType(), c.type);
        EXPECT_EQ(Make(c.typeSpec, "", c.comment).GetDDV(), c.ddv);
    }
}

TEST(ParameterType, Flags) {
    // marked: the value after AppendWriteMark
    const struct { std::string typeSpec, value, comment; bool upper, readOnly, verified, restart, factory; std::string marked; } cases[] = {
        {"{Type Edit} {DDV Text 15} {UpperCase}", "x", "", true, false, true, false, false, "x"},
        {"{Type Combo} {Restart} {NoValidSubmit}", "yes", "", false, false, false, true, false, "yes"},
        {"{Type Combo} {FactoryDefault} {NoValidSubmit}", "yes", "", false, false, false, false, true, "yes"},
        {"{Type Combo} {FactoryDefault}", "yes ", "", false, false, true, false, false, "yes "},
        {"{Type Edit}", "yes", "Cannot be changed by you", false, true, true, false, false, "yes"},
        {dateSpec, "97-12-24", "", false, false, false, false, false, "97-12-24!"},
        {"{uppercase} {write!}", "", "", false, false, true, false, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeSpec + " = " + c.value);
        Parameter parameter = Make(c.typeSpec, c.value, c.comment);
        EXPECT_EQ(parameter.IsUpperCase(), c.upper);
        EXPECT_EQ(parameter.IsReadOnly(), c.readOnly);
        EXPECT_EQ(parameter.IsVerifiedAfterSubmit(), c.verified);
        EXPECT_EQ(parameter.IsRestartRequest(), c.restart);
        EXPECT_EQ(parameter.IsFactoryDefaultRequest(), c.factory);
        parameter.AppendWriteMark();
        EXPECT_EQ(parameter.GetValue(), c.marked);
    }
}

// Lists compare item by item, blanks and empty items aside.
TEST(ParameterType, HasSameValueComparesItemLists) {
    const struct { std::string mine, other; bool same; } cases[] = {
        {"10.1.1.1 ; 10.1.1.2", "10.1.1.1;10.1.1.2", true}, {"a;b", "b;a", false}, {"a", "a;b", false},
        {"a;b", "a", false}, {"", "", true}, {"", "x", false}, {"x", "", false}, {"yes", "Yes", false},
        {"a", "a;", true}, {"a;", "a", true}, {"a", "a; ", false}, {"", ";", false}, {"a;;b", "a;b", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("'" + c.mine + "' vs '" + c.other + "'");
        EXPECT_EQ(Make("", c.mine).HasSameValue(c.other), c.same);
    }
}

// Unchanged: what a page compares before a submit (an unticked box hides a
// change). Confirmed: what it compares with the file read back (values the
// server does not keep as sent need no confirmation).
TEST(ParameterType, UnchangedAndConfirmed) {
    const struct { const char* name; std::string typeSpec; int checkState; std::string value, other; bool unchanged, confirmed; } cases[] = {
        {"unticked box", dateSpec, 0, "97-12-24", "98-01-01", true, true},
        {"ticked box", dateSpec, 1, "97-12-24", "98-01-01", false, true},
        {"ticked box, same value", "{Type EditCheck} {DDV Date}", 1, "97-12-24", "97-12-24", true, true},
        {"ticked box, verified", "{Type EditCheck} {DDV Date}", 1, "97-12-24", "98-01-01", false, false},
        {"check state ignored elsewhere", "{Type Edit} {DDV IP}", 0, "10.0.0.1", "10.0.0.2", false, false},
        {"NoValidSubmit confirms anything", "{Type Combo} {Restart} {NoValidSubmit}", 0, "yes", "no", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Parameter parameter = Make(c.typeSpec, c.value, "", "Key", c.checkState);
        EXPECT_EQ(parameter.IsUnchanged(c.other), c.unchanged);
        EXPECT_EQ(parameter.IsConfirmed(c.other), c.confirmed);
    }
}

TEST(SectionComparison, IsEqualAndOnlyNoValidSubmitChanged) {
    const std::string noCheck = "{Type NoCheck} {DDV Name 47} {UpperCase}";
    const std::string ip = "{Type Edit} {DDV IP}";
    const struct { const char* name; std::vector<Parameter> mine, other; bool equal, confirmed; } cases[] = {
        {"order of keys does not matter, extra keys are ignored", {Make("", "1", "", "A"), Make(ip, "10.0.0.1", "", "B")},
         {Make(ip, "10.0.0.1", "", "B"), Make("", "1", "", "A"), Make("", "2", "", "C")}, true, true},
        {"missing key fails both", {Make("", "1", "", "A"), Make("", "2", "", "B")}, {Make("", "1", "", "A")}, false, false},
        {"missing NoCheck key fails both", {Make(noCheck, "X", "", "P")}, {}, false, false},
        {"changed value", {Make(ip, "10.0.0.1", "", "A")}, {Make(ip, "10.0.0.2", "", "A")}, false, false},
        {"NoCheck change is skipped", {Make(noCheck, "NEW", "", "P")}, {Make(noCheck, "OLD", "", "P")}, false, true},
        {"unticked date change", {Make(dateSpec, "97-12-24", "", "D")}, {Make(dateSpec, "98-01-01", "", "D")}, true, true},
        {"ticked date change", {Make(dateSpec, "97-12-24", "", "D", 1)}, {Make(dateSpec, "98-01-01", "", "D")}, false,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterSection mine("Server"), other("Server");
        for (const Parameter& parameter : c.mine) mine.Add(parameter);
        for (const Parameter& parameter : c.other) other.Add(parameter);
        EXPECT_EQ(mine.IsEqual(other), c.equal);
        EXPECT_EQ(mine.OnlyNoValidSubmitChanged(other), c.confirmed);
    }
}

}  // namespace
