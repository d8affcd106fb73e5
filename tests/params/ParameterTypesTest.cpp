#include <gtest/gtest.h>

#include "Catalogue.h"
#include "Parameter.h"
#include "ParameterSection.h"

namespace {

Parameter Make(const std::string& typeSpec, const std::string& value = "", const std::string& comment = "",
               const std::string& key = "Key") {
    Parameter parameter(key, "", comment, 0);
    parameter.SetTypeSpec(typeSpec);
    parameter.SetValue(value);
    return parameter;
}

TEST(ParameterType, TypeWordAndCheckKind) {
    struct Case {
        std::string typeSpec, comment, type, ddv;
    };
    const Case cases[] = {
        {"{Type Combo yes/no}", "", "Combo", ""},
        {"{Type EditCheck} {DDV Time} {Write!} {NoValidSubmit}", "", "EditCheck", "Time"},
        {"{Type Edit} {DDV Int -2147483648 2147483647}", "", "Edit", "Int -2147483648 2147483647"},
        {"{Type Edit} {DDV NoWhite;* 255} {UpperCase}", "", "Edit", "NoWhite;* 255"},
        {"{DDV IP} {Type Stat}", "", "Stat", "IP"},  // group order does not matter
        {"{Type NoCheck} {DDV Name 47} {UpperCase}", "", "NoCheck", "Name 47"},
        {TimeZoneTypeString, "", "Combo", ""},
        {"", "yes/no", "UnknownCombo", ""},
        {"", "Cannot be changed", "Unknown", ""},
        {"", "", "Unknown", ""},
        {"{type Edit}", "", "Unknown", ""},  // group names are case-sensitive
        {"{Type", "", "", ""},               // a truncated group names no word
        {"{Type Edit", "", "Edit", ""},
        {"{Type Edit} {DDV Text 15", "", "Edit", "Text 15"},
        {"{Type Edit} {DDV}", "", "Edit", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeSpec + " / " + c.comment);
        const Parameter parameter = Make(c.typeSpec, "", c.comment);
        EXPECT_EQ(parameter.GetType(), c.type);
        EXPECT_EQ(parameter.GetDDV(), c.ddv);
    }
}

TEST(ParameterType, Flags) {
    struct Case {
        std::string typeSpec, value, comment;
        bool upper, readOnly, verified, restart, factory;
    };
    const Case cases[] = {
        {"{Type Edit} {DDV Text 15} {UpperCase}", "x", "", true, false, true, false, false},
        {"{Type Combo} {Restart} {NoValidSubmit}", "yes", "", false, false, false, true, false},
        {"{Type Combo} {Restart} {NoValidSubmit}", "Yes", "", false, false, false, false, false},
        {"{Type Combo} {Restart} {NoValidSubmit}", "yes ", "", false, false, false, false, false},
        {"{Type Combo} {FactoryDefault} {NoValidSubmit}", "yes", "", false, false, false, false, true},
        {"{Type Combo} {FactoryDefault} {NoValidSubmit}", "no", "", false, false, false, false, false},
        {"{Type Edit}", "yes", "Cannot be changed by you", false, true, true, false, false},
        {"{Type Edit}", "yes", "cannot be changed", false, false, true, false, false},
        {"{uppercase}", "", "", false, false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeSpec + " = " + c.value);
        const Parameter parameter = Make(c.typeSpec, c.value, c.comment);
        EXPECT_EQ(parameter.IsUpperCase(), c.upper);
        EXPECT_EQ(parameter.IsReadOnly(), c.readOnly);
        EXPECT_EQ(parameter.IsVerifiedAfterSubmit(), c.verified);
        EXPECT_EQ(parameter.IsRestartRequest(), c.restart);
        EXPECT_EQ(parameter.IsFactoryDefaultRequest(), c.factory);
    }
}

TEST(ParameterType, AppendWriteMark) {
    struct Case {
        std::string typeSpec, value, marked;
    };
    const Case cases[] = {
        {"{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}", "97-12-24", "97-12-24!"},
        {"{Type EditCheck} {DDV Time} {Write!} {NoValidSubmit}", "", "!"},
        {"{Type Edit} {DDV Date}", "97-12-24", "97-12-24"},
        {"", "x", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeSpec);
        Parameter parameter = Make(c.typeSpec, c.value);
        parameter.AppendWriteMark();
        EXPECT_EQ(parameter.GetValue(), c.marked);
    }
}

TEST(ParameterType, HasSameValueComparesItemLists) {
    struct Case {
        std::string mine, other;
        bool same;
    };
    const Case cases[] = {
        {"10.1.1.1 ; 10.1.1.2", "10.1.1.1;10.1.1.2", true},
        {"a;b", "b;a", false},
        {"a", "a;b", false},
        {"a;b", "a", false},
        {"", "", true},
        {"", "x", false},
        {"x", "", false},
        {"yes", "Yes", false},
        {"010.1.1.1", "10.1.1.1", false},
        {"a", "a;", true},
        {"a;", "a", true},
        {"a", "a; ", false},  // anything left of the other text differs
        {"", " ", false},
        {"", ";", false},
        {"a;;b", "a;b", true},
        {" a ", "a", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.mine + "' vs '" + c.other + "'");
        EXPECT_EQ(Make("", c.mine).HasSameValue(c.other), c.same);
    }
}

TEST(ParameterType, UnchangedAndConfirmed) {
    struct Case {
        const char* name;
        std::string typeSpec;
        int checkState;
        std::string value, other;
        bool unchanged, confirmed;
    };
    const Case cases[] = {
        {"unticked box hides any change", "{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}", 0, "97-12-24",
         "98-01-01", true, true},
        {"ticked box compares", "{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}", 1, "97-12-24", "98-01-01",
         false, true},
        {"ticked box, same value", "{Type EditCheck} {DDV Date}", 1, "97-12-24", "97-12-24", true, true},
        {"ticked box without NoValidSubmit is verified", "{Type EditCheck} {DDV Date}", 1, "97-12-24", "98-01-01",
         false, false},
        {"check state ignored elsewhere", "{Type Edit} {DDV IP}", 0, "10.0.0.1", "10.0.0.2", false, false},
        {"NoValidSubmit confirms anything", "{Type Combo} {Restart} {NoValidSubmit}", 0, "yes", "no", false, true},
        {"plain equal", "{Type Combo}", 0, "yes", "yes", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Parameter parameter = Make(c.typeSpec, c.value);
        parameter.SetCheckState(c.checkState);
        EXPECT_EQ(parameter.IsUnchanged(c.other), c.unchanged);
        EXPECT_EQ(parameter.IsConfirmed(c.other), c.confirmed);
    }
}

ParameterSection MakeSection(const std::vector<Parameter>& parameters) {
    ParameterSection section("Server");
    for (const Parameter& parameter : parameters) section.Add(parameter);
    return section;
}

TEST(SectionComparison, IsEqualAndOnlyNoValidSubmitChanged) {
    const std::string dateSpec = "{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}";
    const std::string noCheckSpec = "{Type NoCheck} {DDV Name 47} {UpperCase}";
    const std::string ipSpec = "{Type Edit} {DDV IP}";
    struct Case {
        const char* name;
        std::vector<Parameter> mine, other;
        bool equal, confirmed;
    };
    Parameter tickedDate = Make(dateSpec, "97-12-24", "", "Date");
    tickedDate.SetCheckState(1);
    const Case cases[] = {
        {"same values", {Make(ipSpec, "10.0.0.1", "", "A"), Make("", "x", "", "B")},
         {Make(ipSpec, "10.0.0.1", "", "A"), Make("", "x", "", "B")}, true, true},
        {"order of keys does not matter", {Make("", "1", "", "A"), Make("", "2", "", "B")},
         {Make("", "2", "", "B"), Make("", "1", "", "A")}, true, true},
        {"extra key in the other section is ignored", {Make("", "1", "", "A")},
         {Make("", "1", "", "A"), Make("", "2", "", "B")}, true, true},
        {"missing key fails both", {Make("", "1", "", "A"), Make("", "2", "", "B")}, {Make("", "1", "", "A")},
         false, false},
        {"missing NoCheck key fails both", {Make(noCheckSpec, "X", "", "P")}, {}, false, false},
        {"changed value", {Make(ipSpec, "10.0.0.1", "", "A")}, {Make(ipSpec, "10.0.0.2", "", "A")}, false, false},
        {"NoCheck change is not confirmed but skipped", {Make(noCheckSpec, "NEW", "", "P")},
         {Make(noCheckSpec, "OLD", "", "P")}, false, true},
        {"unticked date change", {Make(dateSpec, "97-12-24", "", "Date")}, {Make(dateSpec, "98-01-01", "", "Date")},
         true, true},
        {"ticked date change, NoValidSubmit", {tickedDate}, {Make(dateSpec, "98-01-01", "", "Date")}, false, true},
        {"empty sections", {}, {}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParameterSection mine = MakeSection(c.mine);
        const ParameterSection other = MakeSection(c.other);
        EXPECT_EQ(mine.IsEqual(other), c.equal);
        EXPECT_EQ(mine.OnlyNoValidSubmitChanged(other), c.confirmed);
    }
}

}  // namespace
