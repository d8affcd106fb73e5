#include "ValueIntake.h"

#include "DataExchangeContext.h"
#include "Parameter.h"
#include "ServerCharset.h"
#include "TextRules.h"

namespace {

bool isChecked(const Parameter& parameter, const std::string& value, const std::optional<std::string>& loadedValue) {
    switch (parameter.GetType()) {
    case ControlType::Edit: return !loadedValue || value != *loadedValue;
    case ControlType::EditCheck: return parameter.GetCheckState() == 1;
    default: return false;
    }
}

}  // namespace

void TakeTypedText(DataExchangeContext& exchange, int controlId, Parameter& parameter, std::string& text,
                   const std::optional<std::string>& loadedValue) {
    const ControlType type = parameter.GetType();
    const bool editBox = IsEditBox(type);
    if (editBox && exchange.IsTextAsTyped() && parameter.IsUpperCase()) text = ServerUpperCase(text);
    if (editBox && type != ControlType::NoCheck) {
        text = parameter.Normalise(text);
        exchange.SetControlText(controlId, text);
    }
    text = TrimWhiteSpace(text);
    parameter.SetValue(text);
    if (isChecked(parameter, text, loadedValue)) parameter.Validate(exchange, controlId);
}
