#pragma once

#include <optional>
#include <string>

class DataExchangeContext;
class Parameter;

// How a parameter's control takes the text given for it: the one rule behind
// the rows of the configuration pages, the Quick Installation form and the
// command line.
//
// text is the control's text; it becomes the value the text gives, which
// parameter takes too, before any check runs. By the parameter's control
// type:
// - an edit box (Edit, EditCheck, NoCheck, Unknown) of an upper-case
//   parameter makes the letters capitals when the exchange gives the text as
//   typed (DataExchangeContext::IsTextAsTyped);
// - NoCheck: the text trimmed of white space, never checked;
// - Edit, EditCheck, Unknown: the text in the canonical form of its value
//   check, which the control then shows (SetControlText), trimmed. Edit is
//   checked when the value differs from loadedValue (always without one),
//   EditCheck when its box is ticked (check state 1), Unknown never;
// - any other control: the text trimmed.
// The check runs only while the exchange saves; a value it refuses fails the
// exchange, which does not return.
void TakeTypedText(DataExchangeContext& exchange, int controlId, Parameter& parameter, std::string& text,
                   const std::optional<std::string>& loadedValue);
