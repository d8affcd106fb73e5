#include "StartDlg.h"

#include <QPushButton>

#include "ConfigApp.h"
#include "ConfigMainDlg.h"
#include "WaitCursor.h"

StartDlg::StartDlg(ConfigMainDlg& main) : ChildDialog(TemplateId::StartPage, &main), main(main) {
    WaitCursor wait;
    Create();
}

bool StartDlg::OnInitDialog() {
    ChildDialog::OnInitDialog();
    // The button images come with the template.
    move(Units().ReferencePoint(25, 90));
    EnableTools();
    ConfigApp::Get().SetHelpContext(0);
    return true;
}

void StartDlg::EnableTools() {
    using Kind = ConfigMainDlg::ToolKind;
    const std::pair<int, Kind> tools[] = {
        {QuickInstallationButton, Kind::QuickInstallation},
        {ConfigurationButton, Kind::Configuration},
        {ManagementButton, Kind::Management},
    };
    for (const auto& [id, kind] : tools) {
        if (QWidget* button = Item(id)) button->setEnabled(main.HasTool(kind));
    }
}

bool StartDlg::OnCommand(int commandId) {
    // The main window decides first (and may replace this page meanwhile).
    if (main.OnCommand(commandId)) return true;
    return ChildDialog::OnCommand(commandId);
}
