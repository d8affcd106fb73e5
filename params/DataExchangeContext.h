#pragma once

#include <string>

// What the intake of typed text (TakeTypedText) and value validation need
// from a dialog data exchange. The windows supply one over their controls;
// the command line supplies a console version. Texts are byte strings as
// stored in the server's files.
class DataExchangeContext {
public:
    virtual ~DataExchangeContext() = default;

    // True when the exchange runs from the controls to the data.
    virtual bool IsSaving() const = 0;
    // Marks the edit control that gets the focus, text selected, on failure.
    virtual void PrepareEditCtrl(int controlId) = 0;
    // The control's current text, read afresh.
    virtual std::string GetControlText(int controlId) = 0;
    // Puts text into the control when it shows another; a value the program
    // puts into an edit shows from its beginning.
    virtual void SetControlText(int controlId, const std::string& text) = 0;
    // True when the text given for a control is as the user typed it, its
    // letters not yet made capitals by an upper-case control (the command
    // line's); a window's upper-case edit makes them capitals as they come.
    virtual bool IsTextAsTyped() const { return false; }
    // Turns on the upper-case style of the control.
    virtual void SetUpperCase(int controlId) = 0;
    // Shows a plain OK message. stringId is the string-table ID text comes
    // from; the length and range prompts carry the ID of their pattern, with
    // the limits filled in.
    virtual void ShowMessage(const std::string& text, int stringId) = 0;
    // After the message of a refused value: the rule it broke, in words.
    // The windows' message points to the help instead, so they leave it out;
    // the command line, which has no help to point to, says it.
    virtual void ExplainRule(const std::string& rule) { (void)rule; }
    // Ends the exchange as failed; never returns (throws the exchange's own
    // failure, which the owner of the exchange catches).
    [[noreturn]] virtual void Fail() = 0;
};
