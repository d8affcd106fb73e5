#include "ManagementGeneralProperty.h"

#include <QPushButton>

#include "Cp1252.h"
#include "DataExchange.h"
#include "ServerTextViewDlg.h"
#include "StoreError.h"
#include "ToolHost.h"
#include "WaitCursor.h"

namespace {

constexpr int kNoServerFiles = 1008;
constexpr int kRestartQuestion = 115;
constexpr int kFactoryDefaultsQuestion = 116;

struct AddressControls {
    int edit;
    int label;
};
// In the order of ServerFacts::Address.
constexpr AddressControls kAddressControls[ServerFacts::AddressCount] = {
    {1259, 1238},  // NetWare server name
    {1263, 1239},  // node address
    {1264, 1240},  // internet address
    {1260, 1241},  // SMB server name
};

ServerFacts::Address address(int a) { return static_cast<ServerFacts::Address>(a); }

}  // namespace

ManagementGeneralProperty::ManagementGeneralProperty() : PropertyPage(TemplateId::ManagementGeneral) {}

int ManagementGeneralProperty::EditOf(ServerFacts::Address address) { return kAddressControls[address].edit; }
int ManagementGeneralProperty::LabelOf(ServerFacts::Address address) { return kAddressControls[address].label; }

bool ManagementGeneralProperty::OnInitDialog() {
    PropertyPage::OnInitDialog();
    loadValues();
    UpdateData(false);
    const bool eventLog = KeepsEventLog(ToolHost::Get().GetServerVersion());
    ShowItem(kEventLogId, eventLog);
    ShowItem(kEventLogLabelId, eventLog);
    for (int a = 0; a < ServerFacts::AddressCount; ++a) {
        ShowItem(EditOf(address(a)), facts.found[a]);
        ShowItem(LabelOf(address(a)), facts.found[a]);
    }
    // Each button is described by the text beside it.
    for (const int id : {kStatisticsId, kRestartId, kFactoryDefaultsId, kEventLogId}) {
        const auto& controls = Template()->controls;
        for (size_t i = 0; i + 1 < controls.size(); ++i) {
            if (controls[i].id == id) Item(id)->setAccessibleDescription(FromServerText(controls[i + 1].text));
        }
    }
    UpdateData(true);
    return true;
}

void ManagementGeneralProperty::loadValues() {
    WaitCursor wait;
    ToolHost& host = ToolHost::Get();
    try {
        ReadServerFacts(host.GetShare(), host.GetServerVersion(), facts);
    } catch (const StoreError& error) {
        // What was read stays; the rest stays empty and hidden.
        host.ReportFailure(kNoServerFiles, error);
    }
}

bool ManagementGeneralProperty::OnSetActive() {
    ToolHost::Get().SetHelpContext(kHelpContext);
    return PropertyPage::OnSetActive();
}

void ManagementGeneralProperty::DoDataExchange(DataExchange& exchange) {
    // The fields are read-only: nothing comes back from them, so a value
    // the server wrote with a stray line break never keeps the user here.
    if (exchange.IsSaving()) return;
    exchange.Text(kSerialNumberId, facts.serialNumber);
    exchange.Text(kSoftwareVersionId, facts.softwareVersion);
    for (int a = 0; a < ServerFacts::AddressCount; ++a) exchange.Text(EditOf(address(a)), facts.addresses[a]);
}

bool ManagementGeneralProperty::OnCommand(int commandId) {
    switch (commandId) {
    case kStatisticsId: ShowStatistics(); return true;
    case kRestartId: RequestRestart(); return true;
    case kFactoryDefaultsId: RequestFactoryDefaults(); return true;
    case kEventLogId: ShowEventLog(); return true;
    default: return PropertyPage::OnCommand(commandId);
    }
}

void ManagementGeneralProperty::ShowStatistics() {
    ServerTextViewDlg view(true, QWidget::window());
    view.DoModal();
}

void ManagementGeneralProperty::ShowEventLog() {
    ServerTextViewDlg view(false, QWidget::window());
    view.DoModal();
}

void ManagementGeneralProperty::RequestRestart() {
    sendRequest(kRestartQuestion, MessageType::YesNo | MessageType::IconQuestion, ServerRequest::Restart);
}

void ManagementGeneralProperty::RequestFactoryDefaults() {
    sendRequest(kFactoryDefaultsQuestion, MessageType::YesNo | MessageType::IconQuestion | MessageType::DefaultButton2,
                ServerRequest::FactoryDefaults);
}

void ManagementGeneralProperty::sendRequest(int questionId, unsigned questionType, ServerRequest::Kind kind) {
    ToolHost& host = ToolHost::Get();
    if (host.ShowMessage(questionId, questionType) != MessageResult::Yes) return;
    // The program's one way of sending a request: it asks again when the
    // file already holds a factory reset, writes, and says how it went.
    if (!host.SendServerRequest(kind)) return;
    // The program ends: the server is about to restart, so closing asks
    // no restart question of its own.
    host.SetParametersChanged(false);
    host.EndProgram();
}
