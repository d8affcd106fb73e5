#include "AboutDlg.h"

#include <QLabel>

#include "ConfigApp.h"
#include "Cp1252.h"

namespace {
constexpr int TitleText = 1267;
constexpr int NoticeText = 1266;
}  // namespace

AboutDlg::AboutDlg(ConfigApp& app, QWidget* parent) : Dialog(TemplateId::About, parent), app(app) {}

bool AboutDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    const QString title = FromServerText(app.GetBrandedTitle());
    setWindowTitle(title);
    if (auto* label = Control<QLabel>(TitleText)) label->setText(title);
    ShowItem(NoticeText, !app.IsOemBranding());
    return true;
}
