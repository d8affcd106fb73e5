#include "LogInDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ConfigApp.h"
#include "Cp1252.h"
#include "StringTable.h"

namespace {
constexpr int kRefused = 60025;
constexpr int kUserName = 60026;
constexpr int kPassword = 60027;
}  // namespace

LogInDlg::LogInDlg(const std::string& address, QWidget* parent)
    : QDialog(parent), user(new QLineEdit(this)), password(new QLineEdit(this)) {
    setWindowTitle(FromServerText(ConfigApp::Get().GetBrandedTitle()));
    auto* text = new QLabel(FromServerText(FormatString(kRefused, {address})), this);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    password->setEchoMode(QLineEdit::Password);
    auto* fields = new QFormLayout;
    fields->addRow(FromServerText(LoadString(kUserName)), user);
    fields->addRow(FromServerText(LoadString(kPassword)), password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

bool LogInDlg::Ask(SmbCredentials& credentials) {
    user->setText(QString::fromLocal8Bit(credentials.user));
    user->setFocus();
    if (exec() != QDialog::Accepted) return false;
    credentials.user = user->text().toLocal8Bit().toStdString();
    credentials.password = password->text().toLocal8Bit().toStdString();
    return true;
}
