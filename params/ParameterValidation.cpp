#include "ParameterValidation.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "DataExchangeContext.h"
#include "StringIds.h"
#include "StringTable.h"
#include "TypeSpec.h"

namespace {
constexpr int TimeFormatMessage = 1024;
constexpr int DateFormatMessage = 1025;

// Larger than any bound a scan compares with, small enough never to overflow.
constexpr long long ScanCeiling = 1LL << 40;


int digitValue(char c, int base) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

// One number of a scan at pos: leading white space, an optional sign and at
// least one digit. The magnitude saturates at ScanCeiling.
bool scanNumber(std::string_view text, size_t& pos, int base, long long& number) {
    while (pos < text.size() && IsWhiteSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const size_t firstDigit = pos;
    long long magnitude = 0;
    for (int digit; pos < text.size() && (digit = digitValue(text[pos], base)) >= 0; ++pos) {
        magnitude = magnitude >= ScanCeiling ? ScanCeiling : magnitude * base + digit;
    }
    if (pos == firstDigit) return false;
    number = negative ? -magnitude : magnitude;
    return true;
}

// count numbers joined by separator, each within 0..maxima, then nothing but
// white space. minima/maxima give each field's inclusive range.
bool scanFields(std::string_view text, char separator, int base, const int* minima, const int* maxima, int count,
                int* fields) {
    size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != separator) return false;
            ++pos;
        }
        long long number = 0;
        if (!scanNumber(text, pos, base, number)) return false;
        if (number < minima[i] || number > maxima[i]) return false;
        if (fields) fields[i] = static_cast<int>(number);
    }
    while (pos < text.size() && IsWhiteSpace(text[pos])) ++pos;
    return pos == text.size();
}

[[noreturn]] void failWith(DataExchangeContext& exchange, int messageId) {
    ParameterValidation::Refuse(exchange, messageId);
}

// Rules in words, for the refusals that show "Illegal parameter value!".
constexpr int NumberOrAnyRule = 60050;
constexpr int AddressRule = 60051;
constexpr int AddressOrAnyRule = 60052;
constexpr int CharacterNotAllowedRule = 60053;
constexpr int OnlyCharactersRule = 60054;
constexpr int AddressEntryPrompt = 134;

// A character of a value, as a rule names it.
std::string quotedCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
        static const char hex[] = "0123456789ABCDEF";
        return std::string("(control character 0x") + hex[byte >> 4] + hex[byte & 0xF] + ")";
    }
    return std::string("\"") + c + "\"";
}

}  // namespace

std::string TooLongPrompt(int maximumLength) { return FormatString(TooLongPromptId, {std::to_string(maximumLength)}); }

std::string OutOfRangePrompt(int minimum, int maximum) {
    return FormatString(OutOfRangePromptId, {std::to_string(minimum), std::to_string(maximum)});
}

void ParameterValidation::Refuse(DataExchangeContext& exchange, const std::string& text, int messageId) {
    exchange.ShowMessage(text, messageId);
    exchange.Fail();
    std::abort();  // an exchange whose Fail returns breaks its contract
}

void ParameterValidation::Refuse(DataExchangeContext& exchange, int messageId) {
    Refuse(exchange, LoadString(messageId), messageId);
}

void ParameterValidation::RefuseIllegal(DataExchangeContext& exchange, const std::string& rule) {
    exchange.ShowMessage(LoadString(StringId::IllegalValue), StringId::IllegalValue);
    exchange.ExplainRule(rule);
    exchange.Fail();
    std::abort();  // an exchange whose Fail returns breaks its contract
}

void ParameterValidation::RefuseLongerThan(DataExchangeContext& exchange, const std::string& text, int limit) {
    if (text.size() > static_cast<size_t>(std::max(0, limit))) Refuse(exchange, TooLongPrompt(limit), TooLongPromptId);
}

int ParameterValidation::ReadInteger(std::string_view text) {
    size_t pos = 0;
    long long number = 0;
    if (!scanNumber(text, pos, 10, number)) return 0;
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return static_cast<int>(number);
}

bool ParameterValidation::ScanDottedQuad(std::string_view item, int parts[4]) {
    static constexpr int minima[4] = {0, 0, 0, 0};
    static constexpr int maxima[4] = {255, 255, 255, 255};
    return scanFields(item, '.', 10, minima, maxima, 4, parts);
}

bool ParameterValidation::ScanTime(std::string_view item) {
    static constexpr int minima[3] = {0, 0, 0};
    static constexpr int maxima[3] = {23, 59, 59};
    return scanFields(item, ':', 10, minima, maxima, 3, nullptr);
}

bool ParameterValidation::ScanDate(std::string_view item) {
    static constexpr int minima[3] = {0, 1, 1};
    static constexpr int maxima[3] = {99, 12, 31};
    return scanFields(item, '-', 10, minima, maxima, 3, nullptr);
}

bool ParameterValidation::ScanNetWareAddress(std::string_view item) {
    static constexpr int minima[4] = {0, 0, 0, 0};
    static constexpr int maxima[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    return item.size() == 11 && scanFields(item, '-', 16, minima, maxima, 4, nullptr);
}

void ParameterValidation::ValidateList(DataExchangeContext& exchange, int controlId, const std::string& value,
                                       int kind, std::string_view set) {
    std::vector<std::string> items;
    if (kind == NoCharacters && set.find(';') != std::string_view::npos) {
        items.push_back(TrimWhiteSpace(value));
    } else {
        items = SplitListItems(value);
    }
    for (const std::string& item : items) {
        if (item.empty()) continue;
        switch (kind) {
            case UIntOrAny: ValidateUInt(exchange, controlId, item, 0); break;
            case Time: ValidateTime(exchange, controlId, item); break;
            case Date: ValidateDate(exchange, controlId, item); break;
            case IP: ValidateIP(exchange, controlId, item, 1); break;
            case IPOrAny: ValidateIP(exchange, controlId, item, 0); break;
            case OnlyCharacters: ValidateCharacters(exchange, controlId, item, 1, set); break;
            case NoCharacters: ValidateCharacters(exchange, controlId, item, 0, set); break;
            case NetWareAddress: ValidateNetWareAddress(exchange, controlId, item); break;
            default: return;
        }
    }
}

void ParameterValidation::ValidateUInt(DataExchangeContext& exchange, int controlId, const std::string& item,
                                       int strict) {
    exchange.PrepareEditCtrl(controlId);
    if (!exchange.IsSaving()) return;
    if (!strict && item == "*") return;
    const std::string rule = strict ? OutOfRangePrompt(0, 65535) : FormatString(NumberOrAnyRule, {"0", "65535"});
    if (item.find_first_not_of("0123456789") != std::string::npos) RefuseIllegal(exchange, rule);
    // Compared digit by digit, so any number of digits reads exactly.
    const size_t significant = item.find_first_not_of('0');
    const std::string_view digits =
        significant == std::string::npos ? std::string_view("0") : std::string_view(item).substr(significant);
    if (digits.size() > 5 || (digits.size() == 5 && digits > "65535")) RefuseIllegal(exchange, rule);
}

void ParameterValidation::ValidateTime(DataExchangeContext& exchange, int controlId, const std::string& item) {
    exchange.PrepareEditCtrl(controlId);
    if (!exchange.IsSaving()) return;
    if (!ScanTime(item)) failWith(exchange, TimeFormatMessage);
}

void ParameterValidation::ValidateDate(DataExchangeContext& exchange, int controlId, const std::string& item) {
    exchange.PrepareEditCtrl(controlId);
    if (!exchange.IsSaving()) return;
    if (!ScanDate(item)) failWith(exchange, DateFormatMessage);
}

void ParameterValidation::ValidateIP(DataExchangeContext& exchange, int controlId, const std::string& item,
                                     int strict) {
    exchange.PrepareEditCtrl(controlId);
    if (!exchange.IsSaving()) return;
    if (!strict && item == "*") return;
    int parts[4];
    if (!ScanDottedQuad(item, parts)) RefuseIllegal(exchange, LoadString(strict ? AddressRule : AddressOrAnyRule));
}

void ParameterValidation::ValidateCharacters(DataExchangeContext& exchange, int controlId, const std::string& item,
                                             int mode, std::string_view set) {
    exchange.PrepareEditCtrl(controlId);
    if (!exchange.IsSaving()) return;
    for (const char c : item) {
        const bool inSet = set.find(c) != std::string_view::npos;
        if (inSet == (mode == 1)) continue;
        RefuseIllegal(exchange, mode == 1 ? FormatString(OnlyCharactersRule, {quotedCharacter(c), set})
                                          : FormatString(CharacterNotAllowedRule, {quotedCharacter(c)}));
    }
}

void ParameterValidation::ValidateAddressEntry(DataExchangeContext& exchange, int controlId,
                                               const std::string& text) {
    exchange.PrepareEditCtrl(controlId);
    if (!exchange.IsSaving()) return;
    RefuseLongerThan(exchange, text, MaxAddressEntryLength);
    ValidateList(exchange, controlId, text, NetWareAddress, "");
}

void ParameterValidation::ValidateServerList(DataExchangeContext& exchange, int controlId, const std::string& text) {
    exchange.PrepareEditCtrl(controlId);
    if (!exchange.IsSaving()) return;
    RefuseLongerThan(exchange, text, MaxServerListLength);
    std::string_view rest = text;
    for (;;) {
        const size_t comma = rest.find(',');
        const std::string name(rest.substr(0, comma));
        if (name.size() > static_cast<size_t>(MaxServerNameLength)) failWith(exchange, StringId::ServerNameTooLong);
        if (!name.empty()) ValidateList(exchange, controlId, name, OnlyCharacters, NameCharacters);
        if (comma == std::string_view::npos) return;
        rest.remove_prefix(comma + 1);
    }
}

void ParameterValidation::ValidateNetWareAddress(DataExchangeContext& exchange, int controlId,
                                                 const std::string& item) {
    exchange.PrepareEditCtrl(controlId);
    if (!exchange.IsSaving()) return;
    if (!ScanNetWareAddress(item)) RefuseIllegal(exchange, LoadString(AddressEntryPrompt));
}
