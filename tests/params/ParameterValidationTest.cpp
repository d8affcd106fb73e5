#include "ParameterValidation.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "Parameter.h"
#include "RecordingExchange.h"
#include "StringTable.h"

namespace {

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

// The single routines: "*" unless strict, white space after a value.
TEST(ValidateList, SingleItems) {
    const struct { const char* name; std::function<void(RecordingExchange&)> check; int message; } cases[] = {
        {"IP strict", [](auto& ex) { PV::ValidateIP(ex, 1, "*", 1); }, Illegal},
        {"IP lenient", [](auto& ex) { PV::ValidateIP(ex, 1, "*", 0); }, Pass},
        {"IP, white space after", [](auto& ex) { PV::ValidateIP(ex, 1, "1.2.3.4 \t", 1); }, Pass},
        {"time, white space after", [](auto& ex) { PV::ValidateTime(ex, 1, "12:00:00 "); }, Pass},
        {"UInt strict", [](auto& ex) { PV::ValidateUInt(ex, 1, "*", 1); }, Illegal},
        {"UInt, white space after", [](auto& ex) { PV::ValidateUInt(ex, 1, "5 ", 0); }, Illegal},
        {"address of 12 characters", [](auto& ex) { PV::ValidateNetWareAddress(ex, 1, "01-02-03-04 "); }, Illegal},
        {"no characters of the set", [](auto& ex) { PV::ValidateCharacters(ex, 1, "ABC", 0, "C"); }, Illegal},
    };
    for (const auto& c : cases) {
        RecordingExchange exchange;
        EXPECT_EQ(FailureMessage(exchange, [&] { c.check(exchange); }), c.message) << c.name;
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

Parameter WithValue(const std::string& typeSpec, const std::string& value) {
    Parameter parameter("Key", "", "", 0);
    parameter.SetTypeSpec(typeSpec);
    parameter.SetValue(value);
    return parameter;
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
        EXPECT_EQ(FailureMessage(exchange, [&] { WithValue("{Type Edit} {DDV " + c.ddv + "}", c.value).Validate(exchange, ControlId); }),
                  c.message);
        EXPECT_EQ(exchange.controlReads, 0);
        EXPECT_EQ(exchange.markedControl, ControlId);
    }
    RecordingExchange unchecked;  // no check kind: nothing to do
    EXPECT_EQ(FailureMessage(unchecked, [&] { WithValue("{Type Edit} {UpperCase}", "a\nb").Validate(unchecked, 1); }), Pass);
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
        EXPECT_EQ(FailureMessage(exchange, [&] { WithValue("{Type Edit} {DDV Int " + c.bounds + "}", "12345").Validate(exchange, ControlId); }),
                  c.message);
        EXPECT_EQ(exchange.controlReads, 1);
    }
    RecordingExchange range, tooLong;
    range.controlTexts[1] = "70000";
    FailureMessage(range, [&] { WithValue("{Type Edit} {DDV Int -2147483648 65535}", "").Validate(range, 1); });
    EXPECT_EQ(range.messageTexts, std::vector{FormatString(OutOfRangePromptId, {"-2147483648", "65535"})});
    FailureMessage(tooLong, [&] { WithValue("{Type Edit} {DDV NoWhite 16}", std::string(17, 'x')).Validate(tooLong, 1); });
    EXPECT_EQ(tooLong.messageTexts, std::vector{FormatString(TooLongPromptId, {"16"})});
}

// A checked value in an upper-case box asks for the style while saving.
TEST(Validate, UpperCaseStyleOnlyWhileSaving) {
    for (const bool saving : {true, false}) {
        RecordingExchange exchange(saving);
        const int message = FailureMessage(exchange, [&] { WithValue("{Type Edit} {DDV Name 47} {UpperCase}", "bad value").Validate(exchange, 7); });
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
        const Parameter parameter = WithValue("{Type Edit} {DDV " + c.ddv + "}", c.text);  // the setter stores the same form
        EXPECT_EQ(parameter.GetValue(), c.normal);
        EXPECT_EQ(parameter.Normalise(c.text), c.normal);
        EXPECT_EQ(parameter.Normalise(c.normal), c.normal);  // a canonical form stays
    }
    EXPECT_EQ(WithValue("{Type Edit}", " 010.001.1.1 ; ").GetValue(), " 010.001.1.1 ; ");
}

}  // namespace
