#include <climits>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Catalogue.h"
#include "Parameter.h"
#include "ParameterSection.h"
#include "ParameterValidation.h"
#include "RecordingExchange.h"
#include "ServerCharset.h"
#include "StringTable.h"
#include "TextRules.h"
#include "TypeSpec.h"
#include "ValueIntake.h"

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
    using T = ControlType;
    const struct { std::string typeSpec, comment, word; ControlType type; std::string ddv; } cases[] = {
        {"{Type Combo yes/no}", "", "Combo", T::Combo, ""},
        {dateSpec, "", "EditCheck", T::EditCheck, "Date"},
        {"{DDV Int -5 7} {Type Edit} {UpperCase}", "", "Edit", T::Edit, "Int -5 7"},  // group order does not matter
        {"{Type NoCheck}", "", "NoCheck", T::NoCheck, ""},  {"{Type Stat}", "", "Stat", T::Stat, ""},
        {"", "yes/no", "UnknownCombo", T::UnknownCombo, ""},
        {"{type Edit}", "", "Unknown", T::Unknown, ""},  // group names are case-sensitive
        {"{Type edit}", "", "edit", T::Other, ""},       // and so are the words
        {"{Type", "", "", T::Other, ""},                 // a truncated group names no word
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeSpec + " / " + c.comment);
        EXPECT_EQ(Make(c.typeSpec, "", c.comment).GetTypeWord(), c.word);
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
        {"a;b", "a", false}, {"", "", true}, {"x", "", false}, {"yes", "Yes", false}, {"a", "a;", true},
        {"a;", "a", true}, {"a", "a; ", false}, {"a;;b", "a;b", true},
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

using PV = ParameterValidation;

constexpr int Pass = 0, Illegal = 1022, BadTime = 1024, BadDate = 1025, TooLong = TooLongPromptId,
              OutOfRange = OutOfRangePromptId, ControlId = 2205;

// The rule of each kind, applied to every ";"-separated item; a refusal
// shows the rule's message and marks the control.
TEST(ValidateList, AppliesTheKindToEveryItem) {
    const std::string names(PV::NameCharacters), white(PV::WhiteSpace), whiteOrSemicolon(PV::WhiteSpaceOrSemicolon);
    const struct { int kind; std::string set, value; int message; } cases[] = {
        {PV::UIntOrAny, "", "*", Pass},         {PV::UIntOrAny, "", "1;0;0000000000065535", Pass},
        {PV::UIntOrAny, "", "65536", Illegal},  {PV::UIntOrAny, "", "+1", Illegal},
        {PV::UIntOrAny, "", "184467440737095516160", Illegal}, {PV::UIntOrAny, "", "1;**", Illegal},
        {PV::Time, "", "23:59:59", Pass},       {PV::Time, "", "12: 00: +00 ", Pass},  // blanks may lead a number
        {PV::Time, "", "24:00:00", BadTime},    {PV::Time, "", "23:60:00", BadTime},
        {PV::Time, "", "12:00", BadTime},       {PV::Time, "", "12 :00:00", BadTime},
        {PV::Time, "", "4294967308:00:00", BadTime},
        {PV::Date, "", "97-02-31", Pass},       {PV::Date, "", "0-1-1", Pass},  // days not held to the month
        {PV::Date, "", "97-13-01", BadDate},    {PV::Date, "", "97-00-01", BadDate},
        {PV::Date, "", "1997-12-24", BadDate},  {PV::Date, "", "97/12/24", BadDate},
        {PV::IP, "", "192.168.1.1;10.0.0.2 ", Pass}, {PV::IP, "", "256.1.1.1", Illegal},
        {PV::IP, "", "1.2.3", Illegal},         {PV::IP, "", "1.2.3.4x", Illegal},
        {PV::IP, "", "*", Illegal},             {PV::IP, "", "4294967297.0.0.1", Illegal},
        {PV::IPOrAny, "", "*;;10.0.0.1", Pass}, {PV::IPOrAny, "", "10.0.0.1;x", Illegal},
        {PV::OnlyCharacters, names, "SERVER_1;AB", Pass}, {PV::OnlyCharacters, names, "server", Illegal},
        {PV::OnlyCharacters, names, std::string("A\0B", 3), Illegal},
        {PV::NoCharacters, whiteOrSemicolon, "abc;def", Illegal},
        {PV::NoCharacters, whiteOrSemicolon, " abc ", Pass},  // the whole value, trimmed
        {PV::NoCharacters, white, "abc ; def", Pass},  {PV::NoCharacters, white, "ab\tc;def", Illegal},
        {PV::NetWareAddress, "", "01-02-0A-Ff", Pass}, {PV::NetWareAddress, "", "001-02-03-4", Pass},
        {PV::NetWareAddress, "", "1-2-3-4", Illegal},  {PV::NetWareAddress, "", "01-02-03-0G", Illegal},
        {99, "", "anything at all", Pass},  // an unknown kind accepts everything
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + ": '" + c.value + "'");
        RecordingExchange exchange;
        EXPECT_EQ(FailureMessage(exchange, [&] { PV::ValidateList(exchange, ControlId, c.value, c.kind, c.set); }),
                  c.message);
        if (c.message != Pass) { EXPECT_EQ(exchange.markedControl, ControlId); }
        EXPECT_EQ(exchange.messageTexts, c.message == Pass ? std::vector<std::string>() : std::vector{LoadString(c.message)});
    }
}

// Empty values pass every kind; a loading exchange only marks the control.
TEST(ValidateList, EmptyValuesAndLoadingPass) {
    for (int kind = PV::UIntOrAny; kind <= PV::NetWareAddress; ++kind) {
        RecordingExchange exchange, loading(false);
        EXPECT_EQ(FailureMessage(exchange, [&] { PV::ValidateList(exchange, 1, " ; ;\t", kind, "xy"); }), Pass) << kind;
        EXPECT_EQ(FailureMessage(loading, [&] { PV::ValidateList(loading, ControlId, "x y", kind, "xy"); }), Pass) << kind;
        EXPECT_EQ(loading.markedControl, ControlId);
    }
}

// What a choice list's special entries take: an address, or server names.
TEST(ValidateList, TypedEntriesOfChoiceLists) {
    const struct { bool serverList; std::string text; int message; } cases[] = {
        {false, "01-02-0a-FF", Pass},    {false, " 01-02-03-04", TooLong}, {false, "1-2-3-4", Illegal},
        {true, "FS1,FS_2,", Pass},       {true, std::string(47, 'A'), Pass}, {true, "FS1," + std::string(48, 'A'), 1020},
        {true, "FS1,fs2", Illegal},      {true, std::string(257, 'A'), TooLong},
    };
    for (const auto& c : cases) {
        RecordingExchange exchange;
        const auto check = c.serverList ? PV::ValidateServerList : PV::ValidateAddressEntry;
        EXPECT_EQ(FailureMessage(exchange, [&] { check(exchange, ControlId, c.text); }), c.message) << c.text;
        EXPECT_EQ(exchange.markedControl, ControlId);
    }
}

TEST(ValidateList, ReadIntegerReadsLikeArgumentsAndSaturates) {
    const std::pair<std::string, int> cases[] = {
        {"  -17", -17}, {"+8", 8}, {"12abc", 12}, {"abc", 0}, {"- 5", 0},
        {"-2147483648", INT_MIN}, {"2147483648", INT_MAX}, {"-2147483649", INT_MIN}, {"99999999999999999999", INT_MAX},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(PV::ReadInteger(text), number) << text;
}

// The length limit of the check kind comes first, then its rule; a line
// break is refused whatever the kind.
TEST(Validate, LengthLimitThenKindRule) {
    const struct { std::string ddv, value; int message; } cases[] = {
        {"IP", "1234567890123456", TooLong},  {"IP", "1.1.1.1;2.2.2.2", TooLong},  // the stored list is longer
        {"IP", "256.1.1.1", Illegal},         {"IP;* 255", "*", Pass},
        {"IP;* 10", "10.0.0.1;x", TooLong},   {"IP;* 255", "10.0.0.1;x", Illegal},
        {"Name 47", std::string(47, 'A'), Pass}, {"Name 47", std::string(48, 'a'), TooLong},
        {"Name 47", "MY SERVER", Illegal},    {"NoWhite 16", "abc;def", Illegal},
        {"NoWhite;* 255", "ab c;def", Illegal}, {"Text 15", "any text; at all", TooLong},
        {"Time", "24:00:00", BadTime},        {"Time", "12:00:00 PM", TooLong},
        {"Date", "97/12/24", BadDate},        {"Date", "1997-12-24", TooLong},
        {"NetWareAddress", "1-2-3-4", Illegal}, {"NetWareAddress", "01-02-03-04-0", TooLong},
        {"UInt;*", "1;2;65535", Pass},        {"UInt;*", "99999999999", Illegal},
        {"UInt 5", "not checked", Pass},      {"Whatever", "x", Pass},  // kinds outside the table pass
        {"Text", "x", TooLong},  // no limit: 0
        {"Text 50", "a\nb", Illegal},         {"Name 47", std::string(60, 'A') + "\n", Illegal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ddv + " = '" + c.value + "'");
        RecordingExchange exchange;
        EXPECT_EQ(FailureMessage(exchange, [&] { Make("{Type Edit} {DDV " + c.ddv + "}", c.value).Validate(exchange, ControlId); }),
                  c.message);
        EXPECT_EQ(exchange.controlReads, 0);
        EXPECT_EQ(exchange.markedControl, ControlId);
    }
    RecordingExchange unchecked;  // no check kind: nothing to do
    EXPECT_EQ(FailureMessage(unchecked, [&] { Make("{Type Edit} {UpperCase}", "a\nb").Validate(unchecked, 1); }), Pass);
    EXPECT_TRUE(unchecked.upperCase.empty());
}

// The whole-number rule reads the control afresh: plain decimal, in bounds,
// and the prompts name the limits.
TEST(Validate, IntegerRuleReadsTheControl) {
    const struct { std::string bounds, controlText; int message; } cases[] = {
        {"0 65535", "0", Pass},         {"0 65535", "65535", Pass},     {"0 65535", "080", Illegal},
        {"0 65535", "+80", Illegal},    {"0 65535", "80 ", Illegal},    {"0 65535", "-0", Illegal},
        {"0 65535", "", Illegal},       {"0 65535", "70000", OutOfRange}, {"0 65535", "-1", OutOfRange},
        {"-2147483648 2147483647", "-2147483648", Pass}, {"-2147483648 2147483647", "2147483648", Illegal},
        {"", "1", OutOfRange},  // missing bounds count as 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Int " + c.bounds + ": '" + c.controlText + "'");
        RecordingExchange exchange;
        exchange.controlTexts[ControlId] = c.controlText;
        EXPECT_EQ(FailureMessage(exchange, [&] { Make("{Type Edit} {DDV Int " + c.bounds + "}", "12345").Validate(exchange, ControlId); }),
                  c.message);
        EXPECT_EQ(exchange.controlReads, 1);
    }
    RecordingExchange range, tooLong;
    range.controlTexts[1] = "70000";
    FailureMessage(range, [&] { Make("{Type Edit} {DDV Int -2147483648 65535}", "").Validate(range, 1); });
    EXPECT_EQ(range.messageTexts, std::vector{FormatString(OutOfRangePromptId, {"-2147483648", "65535"})});
    FailureMessage(tooLong, [&] { Make("{Type Edit} {DDV NoWhite 16}", std::string(17, 'x')).Validate(tooLong, 1); });
    EXPECT_EQ(tooLong.messageTexts, std::vector{FormatString(TooLongPromptId, {"16"})});
}

// A checked value in an upper-case box asks for the style while saving.
TEST(Validate, UpperCaseStyleOnlyWhileSaving) {
    for (const bool saving : {true, false}) {
        RecordingExchange exchange(saving);
        const int message = FailureMessage(exchange, [&] { Make("{Type Edit} {DDV Name 47} {UpperCase}", "bad value").Validate(exchange, 7); });
        EXPECT_EQ(exchange.upperCase.count(7), saving ? 1u : 0u);
        EXPECT_EQ(message, saving ? Illegal : Pass);
        EXPECT_EQ(exchange.markedControl, saving ? 7 : -1);
    }
}

// Values are stored in the canonical form of their check kind.
TEST(Normalise, CanonicalFormByKind) {
    const struct { std::string ddv, text, normal; } cases[] = {
        {"IP;* 255", " 010.000.000.001 ; * ", "10.0.0.1 ; *"}, {"IP;* 255", "", ""},
        {"IP;* 255", "x;;1.2.3", "x ; 1.2.3"}, {"IP", "+10. 1.1.1", "10.1.1.1"}, {"IP", "-0.1.1.1", "0.1.1.1"},
        {"IP", "1;2;", "1 ; 2"},               {"IP", " * ", "*"}, {"IP", "256.1.1.1", "256.1.1.1"},
        {"Int 0 65535", " 42 ", "42"},         {"Int 0 65535", "042", "042"},
        {"UInt;*", "007;*; 010 ;", "7 ; * ; 10"}, {"UInt;*", "000", "0"}, {"UInt;*", "12a", "12a"},
        {"UInt;*", "000000000000000000000099999999999", "99999999999"},
        {"UInt 5", "007", "007"},              {"Text 50", " a ; b ", " a ; b "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ddv + ": '" + c.text + "'");
        const Parameter parameter = Make("{Type Edit} {DDV " + c.ddv + "}", c.text);  // the setter stores the same form
        EXPECT_EQ(parameter.GetValue(), c.normal);
        EXPECT_EQ(parameter.Normalise(c.text), c.normal);
        EXPECT_EQ(parameter.Normalise(c.normal), c.normal);  // a canonical form stays
    }
    EXPECT_EQ(Make("{Type Edit}", " 010.001.1.1 ; ").GetValue(), " 010.001.1.1 ; ");
}

// A control takes the text given for it by its type: an upper-case edit box
// makes typed letters capitals, the canonical form is shown (and is what a
// check reads), the value is trimmed and taken before it is checked, and
// checked only as the type says. shown: the control's text afterwards.
TEST(TakeTypedText, EachTypeTakesTextAsItsControlDoes) {
    const std::optional<std::string> always;
    const struct { const char* name; std::string typeSpec, text; bool asTyped; std::optional<std::string> loaded; int checkState; std::string value, shown; int message; } cases[] = {
        {"canonical form shown, then trimmed", "{Type Edit} {DDV IP}", " 010.001.1.1 ", false, always, 0, "10.1.1.1", "10.1.1.1", Pass},
        {"the check reads the shown text", "{Type Edit} {DDV Int 0 65535}", " 42 ", false, always, 0, "42", "42", Pass},
        {"typed letters become capitals", "{Type Edit} {DDV Name 47} {UpperCase}", "server_1", true, always, 0, "SERVER_1", "SERVER_1", Pass},
        {"a window's edit made them already", "{Type Edit} {DDV Name 47} {UpperCase}", "server_1", false, "x", 0, "server_1", "server_1", Illegal},
        {"an unchanged value is not checked", "{Type Edit} {DDV IP}", "1.2.3", false, "1.2.3", 0, "1.2.3", "1.2.3", Pass},
        {"a changed value is", "{Type Edit} {DDV IP}", "1.2.3 ", false, "1.2.4", 0, "1.2.3", "1.2.3", Illegal},
        {"an unticked box is not checked", dateSpec, "97-13-01", false, always, 0, "97-13-01", "97-13-01", Pass},
        {"a ticked box is", dateSpec, "97-13-01", false, "97-13-01", 1, "97-13-01", "97-13-01", BadDate},
        {"no type string: never checked", "", " x ", true, always, 0, "x", " x ", Pass},
        {"NoCheck: trimmed only", "{Type NoCheck} {DDV Name 47} {UpperCase}", " admin pw ", true, always, 0, "ADMIN PW", "", Pass},
        {"other controls: trimmed only", "{Type Stat} {UpperCase}", " shown ", true, always, 0, "shown", "", Pass},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingExchange exchange(true, c.asTyped);
        Parameter parameter = Make(c.typeSpec, "", "", "Key", c.checkState);
        std::string text = c.text;
        EXPECT_EQ(FailureMessage(exchange, [&] { TakeTypedText(exchange, ControlId, parameter, text, c.loaded); }),
                  c.message);
        EXPECT_EQ(text, c.value);
        EXPECT_EQ(parameter.GetValue(), c.value);
        EXPECT_EQ(exchange.controlTexts[ControlId], c.shown);
    }
    RecordingExchange loading(false);  // nothing is checked while loading
    Parameter parameter = Make("{Type Edit} {DDV IP}");
    std::string text = "x";
    EXPECT_EQ(FailureMessage(loading, [&] { TakeTypedText(loading, ControlId, parameter, text, always); }), Pass);
    EXPECT_EQ(parameter.GetValue(), "x");
}

using Entries = std::vector<std::string>;

TEST(FillChoiceList, BuildsEntriesAndSelection) {
    const auto page = ChoiceListVariant::ConfigurationPage;
    const auto quick = ChoiceListVariant::QuickInstallation;
    const struct {
        const char* name;
        std::string comment, value, typeSpec;
        ChoiceListVariant variant;
        Entries entries;
        int selected;
    } cases[] = {
        {"comment choices", "yes/no", "no", "{Type Combo}", page, {"yes", "no"}, 1},
        {"value outside the choices is appended", "", "maybe", "{Type Combo yes/no}", page, {"yes", "no", "maybe"}, 2},
        {"comment wins over the type group", "yes/no", "on", "{Type Combo on/off}", page, {"yes", "no", "on"}, 2},
        {"comment without a slash falls back", "note", "off", "{Type Combo on/off}", page, {"on", "off"}, 1},
        {"only the comment's first word counts", "a/b c/d", "c/d", "{Type Combo}", page, {"a", "b", "c/d"}, 2},
        {"the equal entry wins", "none/no", "no", "{Type Combo}", quick, {"none", "no"}, 1},
        {"other letter case stays as written", "", "YES", "{Type Combo yes/no}", quick, {"yes", "no", "YES"}, 2},
        {"no choices anywhere", "", "x", "{Type Edit}", quick, {"x"}, 0},
        {"empty item between slashes", "a//b", "b", "", quick, {"a", "", "b"}, 2},
        {"trailing slash adds nothing", "a/b/", "a", "", quick, {"a", "b"}, 0},
        {"choices end at a blank in the group", "", "b", "{Type Combo a/b c/d}", quick, {"a", "b"}, 1},
        {"placeholder only in later words", "see XX-XX-XX-XX", "01-02-03-04", "{Type Combo SAP/SERVER_LIST}", page,
         {"SAP", "SERVER_LIST", "01-02-03-04", "XX-XX-XX-XX"}, 2},
        {"lower-case placeholder offered in capitals", "SAP/xx-xx-xx-xx", "SAP", "", page, {"SAP", "XX-XX-XX-XX"}, 0},
        {"placeholder value counts as listed", "SAP/XX-XX-XX-XX", "XX-XX-XX-XX", "", page, {"SAP", "XX-XX-XX-XX"}, 1},
        {"Quick Installation keeps the placeholder as a choice", "SAP/XX-XX-XX-XX", "SAP", "", quick,
         {"SAP", "XX-XX-XX-XX"}, 0},
        {"time zones", "", "Syria", TimeZoneTypeString, page, Entries(), 68},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ChoiceList list = FillChoiceList(c.comment, c.value, c.typeSpec, c.variant);
        if (!c.entries.empty()) { EXPECT_EQ(list.entries, c.entries); }
        EXPECT_EQ(list.selected, c.selected);
    }
}

// The entry a list shows: the equal one, else the first beginning with the value.
TEST(FillChoiceList, ChoiceEntryForTheValue) {
    const Entries entries = {"SAP", "SERVER_LIST", "01-02-03-04", "XX-XX-XX-XX", "no", "none", "No"};
    const std::pair<std::string, int> cases[] = {
        {"SAP", 0}, {"s", 0}, {"se", 1}, {"xx", 3}, {"", 0}, {"SAPX", -1}, {"server_list", 1}, {"No", 6}, {"NO", 4},
    };
    for (const auto& [value, index] : cases) EXPECT_EQ(ChoiceEntryFor(entries, value), index) << value;
    EXPECT_EQ(ChoiceEntryFor({}, ""), -1);
    for (const std::string& entry : entries) EXPECT_EQ(IsSpecialChoice(entry), entry == "SERVER_LIST" || entry == "XX-XX-XX-XX");
}

TEST(TextRules, LetterCaseIsAsciiOnly) {
    struct Case {
        std::string a, b;
        bool equal, less, prefix;
    } cases[] = {
        {"Config", "CONFIG", true, false, true},   {"scsi.ini", "Scsi.INI", true, false, true},
        {"\xE9", "\xC9", false, false, false},     {"a", "B", false, true, false},
        {"B", "a", false, false, false},           {"ADMIN", "admin", true, true, true},  // ties go by the bytes
        {"CDROM1", "cdrom10", false, true, true},  {"", "", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(EqualIgnoringCase(c.a, c.b), c.equal);
        EXPECT_EQ(LessIgnoringCase(c.a, c.b), c.less);
        EXPECT_EQ(StartsWithIgnoringCase(c.b, c.a), c.prefix);
    }
}

// Each byte of the server's files is one character and comes back as
// itself; a character the code page lacks has no byte.
TEST(TextRules, EveryByteIsOneCharacter) {
    std::set<char16_t> characters;
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t character = ServerCharacterOf(static_cast<unsigned char>(byte));
        characters.insert(character);
        EXPECT_EQ(ServerByteOf(character), byte);
    }
    EXPECT_EQ(characters.size(), 256u);
    EXPECT_EQ(ServerCharacterOf(0x80), u'\u20AC');
    EXPECT_EQ(ServerCharacterOf(0x9F), u'\u0178');
    for (const char32_t character : {0x0080u, 0x0100u, 0x4E2Du, 0x1F600u}) EXPECT_EQ(ServerByteOf(character), -1);
}

TEST(TextRules, UpperCaseTakesTheServersCapitals) {
    const std::pair<std::string, std::string> cases[] = {
        {"server_1", "SERVER_1"}, {"\xE9t\xE9", "\xC9T\xC9"}, {"\xF7\xDF\xB5", "\xF7\xDF\xB5"},
        {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"}, {"A-b.9 z", "A-B.9 Z"},
    };
    for (const auto& [text, upper] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ServerUpperCase(text), upper);
    }
}

TEST(TextRules, FormatStringInsertsArgumentsAsText) {
    EXPECT_EQ(FormatString(60002, {"1", "%2"}), "Enter a whole number from 1 to %2.");
    EXPECT_EQ(FormatString(60002, {"7"}), "Enter a whole number from 7 to %2.");
}

}  // namespace
