#include "ServerTextViewDlg.h"

#include "ConfigApp.h"
#include "Cp1252.h"
#include "ServerReports.h"
#include "ServerTextList.h"
#include "StoreError.h"
#include "StringTable.h"
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
    ConfigApp& app = ConfigApp::Get();
    const int titleId = statisticsMode ? kStatisticsTitle : kEventLogTitle;
    setWindowTitle(FromServerText(app.GetBrandedTitle() + " - " + LoadString(titleId)));
    list = new ServerTextList(Item(kListId), Units());
    list->setAccessibleName(FromServerText(LoadString(titleId)));

    WaitCursor wait;
    const ServerReport& report = statisticsMode ? StatisticsReport : EventLogReport;
    try {
        list->SetText(ReadReport(*app.GetShare(), report));
    } catch (const StoreError& error) {
        app.ReportFailure(report.unreadableMessage, error);
        EndDialog(0);
    }
    return true;
}

void ServerTextViewDlg::OnHelp() {
    ConfigApp::Get().SetHelpContext(kGeneralHelp);
    Dialog::OnHelp();
}
