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
class RecordingExchange : public DataExchangeContext {
public:
    explicit RecordingExchange(bool saving = true) : saving(saving) {}

    bool IsSaving() const override { return saving; }
    void PrepareEditCtrl(int controlId) override { markedControl = controlId; }
    std::string GetControlText(int controlId) override {
        ++controlReads;
        return controlTexts[controlId];
    }
    void SetUpperCase(int controlId) override { upperCase.insert(controlId); }
    void ShowMessage(const std::string& text, int stringId) override {
        messageIds.push_back(stringId);
        messageTexts.push_back(text);
    }
    [[noreturn]] void Fail() override {
        ++failures;
        throw ExchangeFailed{};
    }

    bool saving;
    std::map<int, std::string> controlTexts;
    int markedControl = -1;
    int controlReads = 0;
    int failures = 0;
    std::set<int> upperCase;
    std::vector<int> messageIds;
    std::vector<std::string> messageTexts;
};

// Runs a check; returns the ID of the message it failed with, or 0 when it
// passed. A failure must come with exactly one message.
template <typename Check>
int FailureMessage(RecordingExchange& exchange, Check&& check) {
    try {
        check();
    } catch (const ExchangeFailed&) {
        if (exchange.messageIds.size() != 1 || exchange.failures != 1) return -1;
        return exchange.messageIds.front();
    }
    return exchange.messageIds.empty() ? 0 : -2;
}
