#include "ValueEntry.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "ConsoleExchange.h"
#include "ParameterValidation.h"
#include "StringIds.h"
#include "StringTable.h"
#include "TypeSpec.h"
#include "ValueIntake.h"

namespace {

constexpr int kControlId = 2200;  // the row's value control, as on a page
constexpr int kReadOnly = 60013;
constexpr int kLineBreak = 60014;
constexpr int kChooseOneOf = 60016;
constexpr int kLineBreakRule = 60055;

// Runs a check of the validation routines; false after its message.
template <typename Check>
bool passes(const std::string& controlText, std::ostream& err, Check check) {
    ConsoleExchange exchange(controlText, err);
    try {
        check(exchange);
        return true;
    } catch (const ConsoleExchangeFailed&) {
        return false;
    }
}

// A choice list takes one of its entries; its special entries stand for a
// typed NetWare address or a typed list of server names. Letter case does not
// matter; the entry's own spelling is stored.
bool takeChoice(const Parameter& loaded, const std::string& text, EntryPurpose purpose, std::ostream& err,
                std::string& value) {
    const ChoiceList list = FillChoiceList(loaded.GetComment(), loaded.GetValue(), loaded.GetTypeSpec(),
                                           ChoiceListVariant::ConfigurationPage);
    std::vector<std::string> choices;
    bool addressMode = false;
    bool serverListMode = false;
    for (const std::string& entry : list.entries) {
        addressMode = addressMode || entry == AddressPlaceholder;
        serverListMode = serverListMode || entry == ServerListEntry;
        if (!IsSpecialChoice(entry) && !(purpose == EntryPurpose::Check && entry.empty())) choices.push_back(entry);
    }
    const auto accept = [&value](const std::string& taken) {
        value = taken;
        return true;
    };
    // A list that names no choice of its own (the server's comment with the
    // choices is gone, for instance after a rewrite) has nothing to hold the
    // value against: any value is taken, and the server has the last word.
    const bool namesChoices = std::any_of(choices.begin(), choices.end(), [&](const std::string& choice) {
        return choice != loaded.GetValue();
    });
    if (!namesChoices && !addressMode && !serverListMode) return accept(text);
    for (const std::string& choice : choices) {
        if (choice == text) return accept(choice);
    }
    for (const std::string& choice : choices) {
        if (EqualIgnoringCase(choice, text)) return accept(choice);
    }
    if (!text.empty()) {
        // The text a page's small entry form would take for its special entry.
        const auto entered = [&](auto validate) {
            return passes(text, err, [&](ConsoleExchange& exchange) { validate(exchange, kControlId, text); }) &&
                   accept(text);
        };
        // A list offering both entries takes an address when the text is one.
        if (addressMode && ParameterValidation::ScanNetWareAddress(text)) return accept(text);
        if (serverListMode) return entered(ParameterValidation::ValidateServerList);
        if (addressMode) return entered(ParameterValidation::ValidateAddressEntry);
    }
    std::string names;
    for (const std::string& choice : choices) names += (names.empty() ? "" : ", ") + choice;
    err << LoadString(CommandLineMessageId(StringId::IllegalValue)) << '\n';
    if (!names.empty()) err << FormatString(kChooseOneOf, {names}) << '\n';
    return false;
}

}  // namespace

bool TakeEnteredValue(const Parameter& loaded, const std::string& text, EntryPurpose purpose, std::ostream& err,
                      std::string& value) {
    if (text.find_first_of("\r\n") != std::string::npos) {
        // A line break would put a line of its own into the server's file.
        err << (purpose == EntryPurpose::Check
                    ? LoadString(CommandLineMessageId(StringId::IllegalValue)) + '\n' + LoadString(kLineBreakRule)
                    : FormatString(kLineBreak, {loaded.GetKey()}))
            << '\n';
        return false;
    }
    const ControlType type = loaded.GetType();
    if (purpose == EntryPurpose::Set && (type == ControlType::Stat || (IsEditBox(type) && loaded.IsReadOnly()))) {
        err << FormatString(kReadOnly, {loaded.GetKey()}) << '\n';
        return false;
    }
    if (IsChoiceList(type)) return takeChoice(loaded, TrimWhiteSpace(text), purpose, err, value);
    // Taken as the row takes typed text; a value given for a date or time is
    // meant to be set, as with the row's box ticked. "check" checks always.
    Parameter entered = loaded;
    entered.SetCheckState(1);
    const std::optional<std::string> loadedValue =
        purpose == EntryPurpose::Check ? std::nullopt : std::optional<std::string>(loaded.GetValue());
    value = text;
    return passes(text, err, [&](ConsoleExchange& exchange) {
        TakeTypedText(exchange, kControlId, entered, value, loadedValue);
    });
}
