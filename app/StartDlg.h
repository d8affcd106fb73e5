#pragma once

#include "Dialog.h"

class ConfigMainDlg;

// The home page: five image buttons (Disc Access, Management, Quick
// Installation, Configuration, Help) between two rules, embedded in the main
// window. Its button commands go to the main window first, which may destroy
// the home page while handling them.
class StartDlg : public ChildDialog {
    Q_OBJECT
public:
    static constexpr int DiscAccessButton = 1004;
    static constexpr int ManagementButton = 1121;
    static constexpr int QuickInstallationButton = 1006;
    static constexpr int ConfigurationButton = 1000;

    explicit StartDlg(ConfigMainDlg& main);

    bool OnInitDialog() override;
    bool OnCommand(int commandId) override;
    // Enables the buttons of the tools the main window can open.
    void EnableTools();

private:
    ConfigMainDlg& main;
};
