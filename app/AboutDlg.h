#pragma once

#include "Dialog.h"

class ConfigApp;

// The About box: the program icon, the branded title, the version and, in
// the maker's build, the maker's notice.
class AboutDlg : public Dialog {
    Q_OBJECT
public:
    AboutDlg(ConfigApp& app, QWidget* parent);
    bool OnInitDialog() override;

private:
    ConfigApp& app;
};
