#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "DataExchangeContext.h"

// Thrown by RecordingExchange::Fail, as the windows' exchange throws its own.
struct ExchangeFailed {};

// A data exchange for tests: control texts come from a map, and every call
// the checks make is recorded.
struct RecordingExchange : DataExchangeContext {
    explicit RecordingExchange(bool saving = true, bool asTyped = false) : saving(saving), asTyped(asTyped) {}
    bool IsSaving() const override { return saving; }
    bool IsTextAsTyped() const override { return asTyped; }
    void PrepareEditCtrl(int controlId) override { markedControl = controlId; }
    std::string GetControlText(int controlId) override { return ++controlReads, controlTexts[controlId]; }
    void SetControlText(int controlId, const std::string& text) override { controlTexts[controlId] = text; }
    void SetUpperCase(int controlId) override { upperCase.insert(controlId); }
    void ShowMessage(const std::string& text, int stringId) override {
        messageIds.push_back(stringId);
        messageTexts.push_back(text);
    }
    [[noreturn]] void Fail() override { throw ExchangeFailed{}; }

    bool saving, asTyped;
    std::map<int, std::string> controlTexts;
    int markedControl = -1, controlReads = 0;
    std::set<int> upperCase;
    std::vector<int> messageIds;
    std::vector<std::string> messageTexts;
};

// Runs a check; the ID of the message it failed with (exactly one), or 0 when it passed.
template <typename Check>
int FailureMessage(RecordingExchange& exchange, Check&& check) {
    try {
        check();
    } catch (const ExchangeFailed&) {
        return exchange.messageIds.size() == 1 ? exchange.messageIds.front() : -1;
    }
    return exchange.messageIds.empty() ? 0 : -2;
}
