#include "PropertyPage.h"

#include "Cp1252.h"
#include "PropertySheet.h"

PropertyPage::PropertyPage(int templateId, QWidget* parent) : QWidget(parent), TemplateHost(*this, templateId) {
    if (const DialogTemplate* dialog = Template()) title = FromServerText(dialog->caption);
}

void PropertyPage::BuildControls() {
    TemplateHost::BuildControls();
    if (const DialogTemplate* dialog = Template()) {
        setMinimumSize(Units().Size(dialog->width, dialog->height));
        if (!titleSet && title.isEmpty()) SetTitle(FromServerText(dialog->caption));
    }
}

bool PropertyPage::OnSetActive() { return true; }

bool PropertyPage::OnKillActive() { return UpdateData(true); }

void PropertyPage::SetTitle(const QString& text) {
    title = text;
    titleSet = true;
    if (sheet) sheet->updateTitle(this);
}
