#pragma once

#include <QDialog>

#include "SmbShare.h"

class QLineEdit;

// Asks for the user name and password the server wants when it refused
// guest access to its share. The password is shown as dots and kept only
// in memory, for this run.
class LogInDlg : public QDialog {
    Q_OBJECT
public:
    // address: the share, as the message names it.
    LogInDlg(const std::string& address, QWidget* parent = nullptr);

    // What was entered; false when the user cancelled.
    bool Ask(SmbCredentials& credentials);

private:
    QLineEdit* user;
    QLineEdit* password;
};
