#include "ParameterValidation.h"

#include <gtest/gtest.h>

#include <functional>

#include "Parameter.h"
#include "RecordingExchange.h"
#include "StringTable.h"

namespace {

using PV = ParameterValidation;

constexpr int Pass = 0;
constexpr int Illegal = 1022;
constexpr int BadTime = 1024;
constexpr int BadDate = 1025;
constexpr int TooLong = TooLongPromptId;
constexpr int OutOfRange = OutOfRangePromptId;
constexpr int ControlId = 2205;

struct ListCase {
    int kind;
    std::string set;
    std::string value;
    int message;
};

TEST(ValidateList, AppliesTheKindToEveryItem) {
    const std::string names(PV::NameCharacters);
    const std::string white(PV::WhiteSpace);
    const std::string whiteOrSemicolon(PV::WhiteSpaceOrSemicolon);
    const ListCase cases[] = {
        // "*" or numbers up to 65535
        {PV::UIntOrAny, "", "*", Pass},
        {PV::UIntOrAny, "", "0", Pass},
        {PV::UIntOrAny, "", "65535", Pass},
        {PV::UIntOrAny, "", "1;2;65535", Pass},
        {PV::UIntOrAny, "", "0000000000065535", Pass},
        {PV::UIntOrAny, "", "65536", Illegal},
        {PV::UIntOrAny, "", "-1", Illegal},
        {PV::UIntOrAny, "", "+1", Illegal},
        {PV::UIntOrAny, "", "1a", Illegal},
        {PV::UIntOrAny, "", "99999999999", Illegal},
        {PV::UIntOrAny, "", "184467440737095516160", Illegal},
        {PV::UIntOrAny, "", "1;**", Illegal},
        // time of day
        {PV::Time, "", "23:59:59", Pass},
        {PV::Time, "", "1:2:3", Pass},
        {PV::Time, "", "00:00:00", Pass},
        {PV::Time, "", "24:00:00", BadTime},
        {PV::Time, "", "23:60:00", BadTime},
        {PV::Time, "", "23:00:60", BadTime},
        {PV::Time, "", "-1:00:00", BadTime},
        {PV::Time, "", "12:00", BadTime},
        {PV::Time, "", "12:00:00 PM", BadTime},
        {PV::Time, "", "12:00:00x", BadTime},
        {PV::Time, "", "12 :00:00", BadTime},
        {PV::Time, "", "12: 00: 00", Pass},  // white space may lead a number
        {PV::Time, "", "4294967308:00:00", BadTime},
        // date
        {PV::Date, "", "97-12-24", Pass},
        {PV::Date, "", "97-02-31", Pass},  // days are not checked against the month
        {PV::Date, "", "0-1-1", Pass},
        {PV::Date, "", "97-13-01", BadDate},
        {PV::Date, "", "97-00-01", BadDate},
        {PV::Date, "", "97-12-32", BadDate},
        {PV::Date, "", "97-12-00", BadDate},
        {PV::Date, "", "1997-12-24", BadDate},
        {PV::Date, "", "97/12/24", BadDate},
        // dotted quad
        {PV::IP, "", "192.168.1.1", Pass},
        {PV::IP, "", "10.0.0.1;10.0.0.2", Pass},
        {PV::IP, "", "256.1.1.1", Illegal},
        {PV::IP, "", "1.2.3", Illegal},
        {PV::IP, "", "1.2.3.4x", Illegal},
        {PV::IP, "", "1.2.3.4.5", Illegal},
        {PV::IP, "", "1..2.3", Illegal},
        {PV::IP, "", "*", Illegal},
        {PV::IP, "", "4294967297.0.0.1", Illegal},
        {PV::IPOrAny, "", "*", Pass},
        {PV::IPOrAny, "", "10.0.0.1 ; 10.0.0.2", Pass},
        {PV::IPOrAny, "", "10.0.0.1;;10.0.0.2", Pass},
        {PV::IPOrAny, "", "10.0.0.1;x", Illegal},
        {PV::IPOrAny, "", "**", Illegal},
        // character sets
        {PV::OnlyCharacters, names, "SERVER_1", Pass},
        {PV::OnlyCharacters, names, "AB;CD", Pass},
        {PV::OnlyCharacters, names, "server", Illegal},
        {PV::OnlyCharacters, names, "MY SERVER", Illegal},
        {PV::OnlyCharacters, names, "A-B", Illegal},
        {PV::OnlyCharacters, names, "A.B", Illegal},
        {PV::OnlyCharacters, names, std::string("A\0B", 3), Illegal},
        {PV::NoCharacters, whiteOrSemicolon, "abc;def", Illegal},
        {PV::NoCharacters, whiteOrSemicolon, " abc ", Pass},  // the whole value, trimmed
        {PV::NoCharacters, white, "abc ; def", Pass},
        {PV::NoCharacters, white, "ab c;def", Illegal},
        {PV::NoCharacters, white, "ab\tc", Illegal},
        // NetWare address
        {PV::NetWareAddress, "", "01-02-0A-FF", Pass},
        {PV::NetWareAddress, "", "01-02-0a-ff", Pass},
        {PV::NetWareAddress, "", "001-02-03-4", Pass},
        {PV::NetWareAddress, "", "1-2-3-4", Illegal},
        {PV::NetWareAddress, "", "01-02-03-0G", Illegal},
        {PV::NetWareAddress, "", "100-02-03-4", Illegal},
        {PV::NetWareAddress, "", "0x1-0x2-3-4", Illegal},
        {PV::NetWareAddress, "", "01:02:03:04", Illegal},
        {PV::NetWareAddress, "", "01-02-03-04-05", Illegal},
        // an unknown kind accepts everything
        {99, "", "anything at all", Pass},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + ": '" + c.value + "'");
        RecordingExchange exchange;
        EXPECT_EQ(FailureMessage(exchange, [&] { PV::ValidateList(exchange, ControlId, c.value, c.kind, c.set); }),
                  c.message);
        if (c.message != Pass) {
            EXPECT_EQ(exchange.markedControl, ControlId);
            EXPECT_EQ(exchange.messageTexts.front(), LoadString(c.message));
        }
    }
}

TEST(ValidateList, EmptyValuesPassEveryKind) {
    for (int kind = PV::UIntOrAny; kind <= PV::NetWareAddress; ++kind) {
        for (const std::string value : {"", " ", ";", " ; ;\t"}) {
            SCOPED_TRACE("kind " + std::to_string(kind) + ": '" + value + "'");
            RecordingExchange exchange;
            EXPECT_EQ(FailureMessage(exchange, [&] { PV::ValidateList(exchange, 1, value, kind, PV::NameCharacters); }),
                      Pass);
        }
    }
}

TEST(ValidateList, LoadingExchangeOnlyMarksTheControl) {
    for (int kind = PV::UIntOrAny; kind <= PV::NetWareAddress; ++kind) {
        SCOPED_TRACE(kind);
        RecordingExchange exchange(false);
        EXPECT_EQ(FailureMessage(exchange, [&] { PV::ValidateList(exchange, ControlId, "x y", kind, "xy"); }), Pass);
        EXPECT_EQ(exchange.markedControl, ControlId);
    }
}

TEST(ValidationRoutines, StrictFlagAndTrailingWhiteSpace) {
    struct Case {
        const char* name;
        std::function<void(RecordingExchange&)> check;
        int message;
    };
    const Case cases[] = {
        {"IP strict refuses star", [](auto& ex) { PV::ValidateIP(ex, 1, "*", 1); }, Illegal},
        {"IP lenient takes star", [](auto& ex) { PV::ValidateIP(ex, 1, "*", 0); }, Pass},
        {"IP trailing blank", [](auto& ex) { PV::ValidateIP(ex, 1, "1.2.3.4 ", 1); }, Pass},
        {"IP trailing tab", [](auto& ex) { PV::ValidateIP(ex, 1, "1.2.3.4\t", 1); }, Pass},
        {"IP blank before separator", [](auto& ex) { PV::ValidateIP(ex, 1, "1 .2.3.4", 1); }, Illegal},
        {"IP empty", [](auto& ex) { PV::ValidateIP(ex, 1, "", 1); }, Illegal},
        {"UInt strict refuses star", [](auto& ex) { PV::ValidateUInt(ex, 1, "*", 1); }, Illegal},
        {"UInt lenient takes star", [](auto& ex) { PV::ValidateUInt(ex, 1, "*", 0); }, Pass},
        {"UInt trailing blank", [](auto& ex) { PV::ValidateUInt(ex, 1, "5 ", 0); }, Illegal},
        {"time trailing blank", [](auto& ex) { PV::ValidateTime(ex, 1, "12:00:00 "); }, Pass},
        {"date trailing blank", [](auto& ex) { PV::ValidateDate(ex, 1, "97-12-24 "); }, Pass},
        {"NetWare address of 12 characters", [](auto& ex) { PV::ValidateNetWareAddress(ex, 1, "01-02-03-04 "); },
         Illegal},
        {"characters mode 1", [](auto& ex) { PV::ValidateCharacters(ex, 1, "ABC", 1, "ABC"); }, Pass},
        {"characters mode 0", [](auto& ex) { PV::ValidateCharacters(ex, 1, "ABC", 0, "C"); }, Illegal},
        {"empty set, mode 0", [](auto& ex) { PV::ValidateCharacters(ex, 1, "any text", 0, ""); }, Pass},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingExchange exchange;
        EXPECT_EQ(FailureMessage(exchange, [&] { c.check(exchange); }), c.message);
        EXPECT_EQ(exchange.markedControl, 1);
    }
}

TEST(ReadInteger, ReadsLikeArgumentsAndSaturates) {
    struct Case {
        std::string text;
        int number;
    };
    const Case cases[] = {
        {"42", 42},
        {"  -17", -17},
        {"+8", 8},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 2147483647},
        {"-2147483649", -2147483647 - 1},
        {"99999999999999999999999999", 2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PV::ReadInteger(c.text), c.number);
    }
}

struct ValidateCase {
    std::string typeSpec;
    std::string value;
    int message;
};

Parameter WithValue(const std::string& typeSpec, const std::string& value) {
    Parameter parameter("Key", "", "", 0);
    parameter.SetTypeSpec(typeSpec);
    parameter.SetValue(value);
    return parameter;
}

TEST(Validate, LengthLimitThenKindRule) {
    const ValidateCase cases[] = {
        {"{Type Edit} {DDV IP}", "192.168.1.1", Pass},
        {"{Type Edit} {DDV IP}", "256.1.1.1", Illegal},
        {"{Type Edit} {DDV IP}", "*", Illegal},
        {"{Type Edit} {DDV IP}", "1.2.3.4.5", Illegal},
        {"{Type Edit} {DDV IP}", "1234567890123456", TooLong},  // 16 characters, no scan
        {"{Type Edit} {DDV IP}", "1.1.1.1;2.2.2.2", TooLong},   // the normalised list is longer
        {"{Type Edit} {DDV IP;* 255}", "*", Pass},
        {"{Type Edit} {DDV IP;* 255}", "10.0.0.1 ; 10.0.0.2", Pass},
        {"{Type Edit} {DDV IP;* 255}", "10.0.0.1;x", Illegal},
        {"{Type Edit} {DDV IP;* 10}", "10.0.0.1;x", TooLong},
        {"{Type Edit} {DDV Name 47} {UpperCase}", "SERVER_1", Pass},
        {"{Type Edit} {DDV Name 47} {UpperCase}", "server", Illegal},
        {"{Type Edit} {DDV Name 47} {UpperCase}", "MY SERVER", Illegal},
        {"{Type Edit} {DDV Name 47} {UpperCase}", "AB;CD", Pass},
        {"{Type Edit} {DDV Name 47} {UpperCase}", std::string(47, 'A'), Pass},
        {"{Type Edit} {DDV Name 47} {UpperCase}", std::string(48, 'A'), TooLong},
        {"{Type Edit} {DDV Name 47} {UpperCase}", std::string(48, 'a'), TooLong},  // length before characters
        {"{Type Edit} {DDV NoWhite 16}", "abc;def", Illegal},
        {"{Type Edit} {DDV NoWhite 16}", "abcdefghijklmnop", Pass},
        {"{Type Edit} {DDV NoWhite 16}", "abcdefghijklmnopq", TooLong},
        {"{Type Edit} {DDV NoWhite;* 255}", "abc ; def", Pass},
        {"{Type Edit} {DDV NoWhite;* 255}", "ab c;def", Illegal},
        {"{Type Edit} {DDV Text 15} {UpperCase}", "any text; at all", TooLong},
        {"{Type Edit} {DDV Text 15} {UpperCase}", "any text; at al", Pass},
        {"{Type Edit} {DDV Text 50}", "", Pass},
        {"{Type Edit} {DDV Text}", "", Pass},  // a missing limit counts as 0
        {"{Type Edit} {DDV Text}", "x", TooLong},
        {"{Type Edit} {DDV Text abc}", "x", TooLong},
        {"{Type Edit} {DDV Text -5}", "", Pass},
        {"{Type EditCheck} {DDV Time} {Write!} {NoValidSubmit}", "23:59:59", Pass},
        {"{Type EditCheck} {DDV Time} {Write!} {NoValidSubmit}", "24:00:00", BadTime},
        {"{Type EditCheck} {DDV Time} {Write!} {NoValidSubmit}", "12:00:00 PM", TooLong},
        {"{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}", "97-12-24", Pass},
        {"{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}", "97/12/24", BadDate},
        {"{Type EditCheck} {DDV Date} {Write!} {NoValidSubmit}", "1997-12-24", TooLong},
        {"{Type Edit} {DDV NetWareAddress}", "01-02-0A-FF", Pass},
        {"{Type Edit} {DDV NetWareAddress}", "1-2-3-4", Illegal},
        {"{Type Edit} {DDV NetWareAddress}", "01-02-03-04-0", TooLong},
        {"{Type Edit} {DDV UInt;*}", "*", Pass},
        {"{Type Edit} {DDV UInt;*}", "1;2;65535", Pass},
        {"{Type Edit} {DDV UInt;*}", "0065535", Pass},
        {"{Type Edit} {DDV UInt;*}", "65536", Illegal},
        {"{Type Edit} {DDV UInt;*}", "-1", Illegal},
        {"{Type Edit} {DDV UInt;*}", "1a", Illegal},
        {"{Type Edit} {DDV UInt;*}", "99999999999", Illegal},
        {"{Type Edit} {DDV UInt 5}", "not checked", Pass},  // kinds outside the table pass
        {"{Type Edit} {DDV Whatever}", "x", Pass},
        {"{Type Edit}", "anything\nat all", Pass},  // no check kind, nothing to do
        {"", "x", Pass},
        // Line breaks would add lines to the server's file.
        {"{Type Edit} {DDV Text 50}", "a\nb", Illegal},
        {"{Type Edit} {DDV Text 50}", "a\rb", Illegal},
        {"{Type Edit} {DDV UInt 5}", "a\nb", Illegal},
        {"{Type Edit} {DDV Name 47}", std::string(60, 'A') + "\n", Illegal},
    };
    for (const ValidateCase& c : cases) {
        SCOPED_TRACE(c.typeSpec + " = '" + c.value + "'");
        const Parameter parameter = WithValue(c.typeSpec, c.value);
        RecordingExchange exchange;
        EXPECT_EQ(FailureMessage(exchange, [&] { parameter.Validate(exchange, ControlId); }), c.message);
        EXPECT_EQ(exchange.controlReads, 0);
        if (c.message != Pass) {
            EXPECT_EQ(exchange.markedControl, ControlId);
        }
    }
}

struct IntegerCase {
    std::string bounds;
    std::string controlText;
    int message;
};

TEST(Validate, IntegerRuleReadsTheControl) {
    const IntegerCase cases[] = {
        {"0 65535", "80", Pass},
        {"0 65535", "0", Pass},
        {"0 65535", "65535", Pass},
        {"0 65535", "080", Illegal},
        {"0 65535", "+80", Illegal},
        {"0 65535", "80 ", Illegal},
        {"0 65535", " 80", Illegal},
        {"0 65535", "-0", Illegal},
        {"0 65535", "", Illegal},
        {"0 65535", "8 0", Illegal},
        {"0 65535", "70000", OutOfRange},
        {"0 65535", "-1", OutOfRange},
        {"0 9999", "10000", OutOfRange},
        {"-2147483648 2147483647", "-2147483648", Pass},
        {"-2147483648 2147483647", "2147483647", Pass},
        {"-2147483648 2147483647", "2147483648", Illegal},
        {"-2147483648 2147483647", "-2147483649", Illegal},
        {"-2147483648 2147483647", "99999999999999999999", Illegal},
        {"", "0", Pass},  // missing bounds count as 0
        {"", "1", OutOfRange},
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE("Int " + c.bounds + ": '" + c.controlText + "'");
        // The stored value is irrelevant: the rule reads the control afresh.
        const Parameter parameter = WithValue("{Type Edit} {DDV Int " + c.bounds + "}", "12345");
        RecordingExchange exchange;
        exchange.controlTexts[ControlId] = c.controlText;
        EXPECT_EQ(FailureMessage(exchange, [&] { parameter.Validate(exchange, ControlId); }), c.message);
        EXPECT_EQ(exchange.controlReads, 1);
    }
}

TEST(Validate, PromptsNameTheirLimits) {
    {
        RecordingExchange exchange;
        const Parameter parameter = WithValue("{Type Edit} {DDV NoWhite 16}", std::string(17, 'x'));
        ASSERT_EQ(FailureMessage(exchange, [&] { parameter.Validate(exchange, 1); }), TooLong);
        EXPECT_EQ(exchange.messageTexts.front(), TooLongPrompt(16));
        EXPECT_NE(exchange.messageTexts.front().find("16"), std::string::npos);
    }
    {
        RecordingExchange exchange;
        exchange.controlTexts[1] = "70000";
        const Parameter parameter = WithValue("{Type Edit} {DDV Int 0 65535}", "");
        ASSERT_EQ(FailureMessage(exchange, [&] { parameter.Validate(exchange, 1); }), OutOfRange);
        const std::string& text = exchange.messageTexts.front();
        EXPECT_EQ(text, OutOfRangePrompt(0, 65535));
        EXPECT_NE(text.find(" 0 "), std::string::npos);
        EXPECT_NE(text.find("65535"), std::string::npos);
    }
    EXPECT_EQ(OutOfRangePrompt(-2147483647 - 1, 7).find('%'), std::string::npos);
    EXPECT_NE(OutOfRangePrompt(-2147483647 - 1, 7).find("-2147483648"), std::string::npos);
}

TEST(Validate, UpperCaseStyleAndDirection) {
    struct Case {
        std::string typeSpec;
        bool saving;
        bool upperCase;
    };
    const Case cases[] = {
        {"{Type Edit} {DDV Name 47} {UpperCase}", true, true},
        {"{Type Edit} {DDV Name 47}", true, false},
        {"{Type Edit} {DDV Name 47} {UpperCase}", false, false},  // loading does nothing
        {"{Type Edit} {UpperCase}", true, false},                 // no check kind, nothing to do
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeSpec + (c.saving ? " saving" : " loading"));
        const Parameter parameter = WithValue(c.typeSpec, "bad value");
        RecordingExchange exchange(c.saving);
        const int message = FailureMessage(exchange, [&] { parameter.Validate(exchange, 7); });
        EXPECT_EQ(exchange.upperCase.count(7), c.upperCase ? 1u : 0u);
        if (!c.saving) {
            EXPECT_EQ(message, Pass);
            EXPECT_EQ(exchange.markedControl, -1);
        }
    }
}

TEST(Normalise, CanonicalFormByKind) {
    struct Case {
        std::string ddv;
        std::string text;
        std::string normal;
    };
    const Case cases[] = {
        {"IP;* 255", " 010.000.000.001 ; * ", "10.0.0.1 ; *"},
        {"IP;* 255", "*", "*"},
        {"IP;* 255", "", ""},
        {"IP;* 255", "10.1.1.1;010.1.1.2", "10.1.1.1 ; 10.1.1.2"},
        {"IP;* 255", "x;;1.2.3", "x ; 1.2.3"},
        {"IP", "010.001.1.1", "10.1.1.1"},
        {"IP", "+10. 1.1.1", "10.1.1.1"},
        {"IP", "-0.1.1.1", "0.1.1.1"},
        {"IP", "1;2;", "1 ; 2"},
        {"IP", ";;", ""},
        {"IP", "   ", ""},
        {"IP", " * ", "*"},
        {"IP", "256.1.1.1", "256.1.1.1"},
        {"IP", "99999999999.1.1.1", "99999999999.1.1.1"},
        {"Int 0 65535", " 42 ", "42"},
        {"Int 0 65535", "042", "042"},
        {"Int 0 65535", "1.01.1.1", "1.1.1.1"},
        {"UInt;*", "007", "7"},
        {"UInt;*", "000", "0"},
        {"UInt;*", "12a", "12a"},
        {"UInt;*", "007;*; 010 ;", "7 ; * ; 10"},
        {"UInt;*", "000000000000000000000099999999999", "99999999999"},
        {"UInt;*", "", ""},
        {"UInt;*", "*", "*"},
        {"UInt 5", "007", "007"},
        {"Text 50", " a ; b ", " a ; b "},
        {"NoWhite;* 255", "a;;b", "a;;b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ddv + ": '" + c.text + "'");
        Parameter parameter("Key", "", "", 0);
        parameter.SetTypeSpec("{Type Edit} {DDV " + c.ddv + "}");
        EXPECT_EQ(parameter.Normalise(c.text), c.normal);
        parameter.SetValue(c.text);  // the value setter stores the same form
        EXPECT_EQ(parameter.GetValue(), c.normal);
        EXPECT_EQ(parameter.Normalise(c.normal), c.normal);  // a canonical form stays
    }
}

TEST(Normalise, WithoutCheckKindStoresTextAsGiven) {
    for (const std::string spec : {"", "{Type Edit}", "{Type Combo yes/no}"}) {
        SCOPED_TRACE(spec);
        Parameter parameter("Key", "", "", 0);
        parameter.SetTypeSpec(spec);
        parameter.SetValue(" 010.001.1.1 ; ");
        EXPECT_EQ(parameter.GetValue(), " 010.001.1.1 ; ");
    }
}

}  // namespace
