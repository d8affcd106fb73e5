#include "ManagementSCSItxtProperty.h"

#include "ServerReports.h"
#include "ServerTextList.h"
#include "StoreError.h"
#include "ToolHost.h"
#include "WaitCursor.h"

ManagementSCSItxtProperty::ManagementSCSItxtProperty() : PropertyPage(TemplateId::ScsiText) {}

bool ManagementSCSItxtProperty::OnInitDialog() {
    PropertyPage::OnInitDialog();
    list = new ServerTextList(Item(kListId), Units());
    list->setAccessibleName(GetTitle());

    WaitCursor wait;
    ToolHost& host = ToolHost::Get();
    try {
        list->SetText(ReadReport(*host.GetShare(), ScsiTextReport));
    } catch (const StoreError& error) {
        host.ReportFailure(ScsiTextReport.unreadableMessage, error);
    }
    return true;
}

bool ManagementSCSItxtProperty::OnSetActive() {
    ToolHost::Get().SetHelpContext(kHelpContext);
    return PropertyPage::OnSetActive();
}
