#include "FormTextDlg.h"

#include "Cp1252.h"
#include "DataExchange.h"
#include "DialogTemplates.h"
#include "ParameterValidation.h"
#include "StringTable.h"
#include "ToolHost.h"
#include "TypeSpec.h"

namespace {
constexpr int kAddressPrompt = 134;
constexpr int kServerListPrompt = 135;
}  // namespace

FormTextDlg::FormTextDlg(const std::string& name, Mode mode, QWidget* parent)
    : Dialog(TemplateId::FormText, parent),
      mode(mode),
      name(name),
      prompt(LoadString(mode == NetWareAddress ? kAddressPrompt : kServerListPrompt)) {}

bool FormTextDlg::OnInitDialog() {
    setWindowTitle(FromServerText(ToolHost::Get().GetBrandedTitle()));
    return Dialog::OnInitDialog();
}

void FormTextDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Text(kTextId, text);
    exchange.Text(kNameId, name);
    exchange.Text(kPromptId, prompt);
    if (mode == NetWareAddress) {
        ParameterValidation::ValidateAddressEntry(exchange, kTextId, text);
    } else {
        ParameterValidation::ValidateServerList(exchange, kTextId, text);
    }
}

void FormTextDlg::OnCancel() {
    text.clear();
    Dialog::OnCancel();
}

bool FormTextDlg::GetText(std::string& entered) const {
    entered = TrimWhiteSpace(text);
    return !entered.empty();
}
