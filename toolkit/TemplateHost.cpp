#include "TemplateHost.h"

#include <QAbstractButton>

#include "DataExchange.h"
#include "TemplateBuilder.h"

TemplateHost::TemplateHost(QWidget& window, int templateId) : window(window), templateId(templateId) {}

TemplateHost::~TemplateHost() = default;

void TemplateHost::SetTemplateId(int id) {
    if (!created) templateId = id;
}

const DialogTemplate* TemplateHost::Template() const { return FindDialogTemplate(templateId); }

DialogUnits TemplateHost::Units() const { return DialogUnits::ForFont(window.font()); }

void TemplateHost::EnsureCreated() {
    if (created) return;
    created = true;
    BuildControls();
    OnInitDialog();
}

void TemplateHost::BuildControls() {
    const DialogTemplate* dialog = Template();
    if (!dialog) return;
    BuildTemplate(&window, *dialog, Units());
    for (const ControlTemplate& control : dialog->controls) {
        if (control.id == NoControlId) continue;
        if (auto* button = Control<QAbstractButton>(control.id)) {
            const int id = control.id;
            QObject::connect(button, &QAbstractButton::clicked, &window, [this, id] { OnCommand(id); });
        }
    }
}

bool TemplateHost::OnInitDialog() {
    UpdateData(false);
    return true;
}

void TemplateHost::DoDataExchange(DataExchange&) {}

bool TemplateHost::OnCommand(int) { return false; }

bool TemplateHost::UpdateData(bool saving) {
    DataExchange exchange(&window, saving);
    try {
        DoDataExchange(exchange);
    } catch (const DataExchange::Failure&) {
        return false;
    }
    return true;
}

QWidget* TemplateHost::Item(int controlId) const {
    const QString name = ControlName(controlId);
    if (name.isEmpty()) return nullptr;
    if (auto* own = window.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly)) return own;
    return window.findChild<QWidget*>(name);
}

void TemplateHost::ShowItem(int controlId, bool visible) {
    if (QWidget* item = Item(controlId)) item->setVisible(visible);
}
