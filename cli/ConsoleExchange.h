#pragma once

#include <ostream>
#include <string>
#include <utility>

#include "DataExchangeContext.h"

// A data exchange for the command line: it always saves (the value comes
// from the user), its one "control" holds the text given on the command line
// as typed, messages go to the error stream, and a failure throws
// ConsoleExchangeFailed.
class ConsoleExchange : public DataExchangeContext {
public:
    ConsoleExchange(std::string controlText, std::ostream& err) : text(std::move(controlText)), err(err) {}

    bool IsSaving() const override { return true; }
    void PrepareEditCtrl(int) override {}
    std::string GetControlText(int) override { return text; }
    void SetControlText(int, const std::string& shown) override { text = shown; }
    bool IsTextAsTyped() const override { return true; }
    void SetUpperCase(int) override {}
    void ShowMessage(const std::string& message, int stringId) override;
    void ExplainRule(const std::string& rule) override { err << rule << '\n'; }
    [[noreturn]] void Fail() override;

private:
    std::string text;
    std::ostream& err;
};

// Thrown by ConsoleExchange::Fail after the message was shown.
struct ConsoleExchangeFailed {};

// The string-table message the command line says for stringId: the windows'
// own when it fits, else the command line's version of it, for the texts
// that speak of the windows (a window that closes, F1 for help, a page that
// may lack values, marks on a page).
int CommandLineMessageId(int stringId);
