#include "ServerTextViewDlg.h"

#include "Cp1252.h"
#include "ServerReports.h"
#include "ServerTextList.h"
#include "StoreError.h"
#include "StringTable.h"
#include "ToolHost.h"
#include "WaitCursor.h"

namespace {

constexpr int kStatisticsTitle = 139;
constexpr int kEventLogTitle = 143;
// The General page's topic, where the reports are explained.
constexpr int kGeneralHelp = 18;

}  // namespace

ServerTextViewDlg::ServerTextViewDlg(bool statisticsMode, QWidget* parent)
    : Dialog(TemplateId::ServerTextView, parent), statisticsMode(statisticsMode) {}

bool ServerTextViewDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    ToolHost& host = ToolHost::Get();
    const int titleId = statisticsMode ? kStatisticsTitle : kEventLogTitle;
    setWindowTitle(FromServerText(host.GetBrandedTitle() + " - " + LoadString(titleId)));
    list = new ServerTextList(Item(kListId), Units());
    list->setAccessibleName(FromServerText(LoadString(titleId)));

    WaitCursor wait;
    const ServerReport& report = statisticsMode ? StatisticsReport : EventLogReport;
    try {
        list->SetText(ReadReport(*host.GetShare(), report));
    } catch (const StoreError& error) {
        host.ReportFailure(report.unreadableMessage, error);
        EndDialog(0);
    }
    return true;
}

void ServerTextViewDlg::OnHelp() {
    ToolHost::Get().SetHelpContext(kGeneralHelp);
    Dialog::OnHelp();
}
