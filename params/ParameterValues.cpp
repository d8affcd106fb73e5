// Canonical form and checking of a parameter's value by the kind named in
// its "{DDV ...}" group.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include "DataExchangeContext.h"
#include "Parameter.h"
#include "ParameterValidation.h"
#include "StringIds.h"
#include "StringTable.h"
#include "TypeSpec.h"

namespace {

using PV = ParameterValidation;

constexpr int LineBreakRule = 60055;

// How a kind limits the length of its value.
enum class Limit { None, Fixed, FirstArgument };

struct KindRule {
    std::string_view kind;
    Limit limit;
    int fixedLength;
    int code;  // ValidateList kind code, or -1 for no list rule
    std::string_view set;
};

constexpr std::array<KindRule, 10> kindRules = {{
    {"Time", Limit::Fixed, 8, PV::Time, {}},
    {"Date", Limit::Fixed, 8, PV::Date, {}},
    {"IP", Limit::Fixed, 15, PV::IP, {}},
    {"IP;*", Limit::FirstArgument, 0, PV::IPOrAny, {}},
    {"Name", Limit::FirstArgument, 0, PV::OnlyCharacters, PV::NameCharacters},
    {"Text", Limit::FirstArgument, 0, -1, {}},
    {"NoWhite", Limit::FirstArgument, 0, PV::NoCharacters, PV::WhiteSpaceOrSemicolon},
    {"NoWhite;*", Limit::FirstArgument, 0, PV::NoCharacters, PV::WhiteSpace},
    {"NetWareAddress", Limit::Fixed, 11, PV::NetWareAddress, {}},
    {"UInt;*", Limit::None, 0, PV::UIntOrAny, {}},
}};

// The whole-number check: the control's text must be the plain decimal
// rendering of a number (no "+", no leading zeros, no blanks) within bounds.
void validateInteger(DataExchangeContext& exchange, int controlId, int minimum, int maximum) {
    const std::string text = exchange.GetControlText(controlId);
    const int number = PV::ReadInteger(text);
    if (text != std::to_string(number)) PV::RefuseIllegal(exchange, OutOfRangePrompt(minimum, maximum));
    if (number < minimum || number > maximum) {
        PV::Refuse(exchange, OutOfRangePrompt(minimum, maximum), OutOfRangePromptId);
    }
}

std::string withoutLeadingZeros(const std::string& digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

}  // namespace

std::string Parameter::Normalise(const std::string& text) const {
    std::string arguments = GetDDV();
    const std::string kind = PopWord(arguments);
    const bool listKind = kind == "UInt;*" || kind == "IP;*";
    if (!listKind && kind != "Int" && kind != "IP") return text;
    if (text == "*" || (listKind && text.empty())) return text;

    std::string result;
    for (const std::string& item : SplitListItems(text)) {
        if (item.empty()) continue;
        if (!result.empty()) result += " ; ";
        int parts[4];
        if (kind == "UInt;*") {
            const bool digitsOnly = item.find_first_not_of("0123456789") == std::string::npos;
            result += digitsOnly ? withoutLeadingZeros(item) : item;
        } else if (PV::ScanDottedQuad(item, parts)) {
            result += std::to_string(parts[0]) + '.' + std::to_string(parts[1]) + '.' + std::to_string(parts[2]) +
                      '.' + std::to_string(parts[3]);
        } else {
            result += item;
        }
    }
    return result;
}

void Parameter::Validate(DataExchangeContext& exchange, int controlId) const {
    if (!exchange.IsSaving()) return;
    std::string arguments = GetDDV();
    if (arguments.empty()) return;
    const std::string kind = PopWord(arguments);
    const int firstArgument = PV::ReadInteger(PopWord(arguments));
    const int secondArgument = PV::ReadInteger(PopWord(arguments));
    if (IsUpperCase()) exchange.SetUpperCase(controlId);
    exchange.PrepareEditCtrl(controlId);

    // A line break would start a new line in the server's file.
    if (value.find_first_of("\r\n") != std::string::npos) {
        PV::RefuseIllegal(exchange, LoadString(LineBreakRule));
    }
    if (kind == "Int") {
        validateInteger(exchange, controlId, firstArgument, secondArgument);
        return;
    }
    const auto rule = std::find_if(kindRules.begin(), kindRules.end(),
                                   [&](const KindRule& candidate) { return candidate.kind == kind; });
    if (rule == kindRules.end()) return;  // a kind this program does not check

    if (rule->limit != Limit::None) {
        PV::RefuseLongerThan(exchange, value, std::max(0, rule->limit == Limit::Fixed ? rule->fixedLength : firstArgument));
    }
    if (rule->code >= 0) PV::ValidateList(exchange, controlId, value, rule->code, rule->set);
}
