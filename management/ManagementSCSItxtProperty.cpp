#include "ManagementSCSItxtProperty.h"

#include "ConfigApp.h"
#include "ServerReports.h"
#include "ServerTextList.h"
#include "StoreError.h"
#include "WaitCursor.h"

ManagementSCSItxtProperty::ManagementSCSItxtProperty() : PropertyPage(TemplateId::ScsiText) {}

bool ManagementSCSItxtProperty::OnInitDialog() {
    PropertyPage::OnInitDialog();
    list = new ServerTextList(Item(kListId), Units());
    list->setAccessibleName(GetTitle());

    WaitCursor wait;
    ConfigApp& app = ConfigApp::Get();
    try {
        list->SetText(ReadReport(*app.GetShare(), ScsiTextReport));
    } catch (const StoreError& error) {
        app.ReportFailure(ScsiTextReport.unreadableMessage, error);
    }
    return true;
}

bool ManagementSCSItxtProperty::OnSetActive() {
    ConfigApp::Get().SetHelpContext(kHelpContext);
    return PropertyPage::OnSetActive();
}
