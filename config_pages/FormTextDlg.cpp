#include "FormTextDlg.h"

#include "ConfigApp.h"
#include "Cp1252.h"
#include "DataExchange.h"
#include "DialogTemplates.h"
#include "ParameterValidation.h"
#include "StringIds.h"
#include "StringTable.h"
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
    setWindowTitle(FromServerText(ConfigApp::Get().GetBrandedTitle()));
    return Dialog::OnInitDialog();
}

void FormTextDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Text(kTextId, text);
    exchange.Text(kNameId, name);
    exchange.Text(kPromptId, prompt);
    if (!exchange.IsSaving()) return;
    exchange.PrepareEditCtrl(kTextId);
    if (mode == NetWareAddress) {
        exchange.MaxChars(text, kMaxAddressLength);
        ParameterValidation::ValidateList(exchange, kTextId, text, ParameterValidation::NetWareAddress, "");
    } else {
        exchange.MaxChars(text, kMaxServerListLength);
        checkServerList(exchange);
    }
}

void FormTextDlg::checkServerList(DataExchange& exchange) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        const std::string server = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (server.size() > static_cast<size_t>(kMaxServerNameLength)) {
            exchange.PrepareEditCtrl(kTextId);
            exchange.ShowMessage(LoadString(StringId::ServerNameTooLong), StringId::ServerNameTooLong);
            exchange.Fail();
        }
        if (!server.empty()) {
            ParameterValidation::ValidateList(exchange, kTextId, server, ParameterValidation::OnlyCharacters,
                                              ParameterValidation::NameCharacters);
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
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
