#include "QuickInstallationDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <map>
#include <vector>

#include "Catalogue.h"
#include "ChangeMark.h"
#include "Cp1252.h"
#include "DataExchange.h"
#include "ServerFiles.h"
#include "StringIds.h"
#include "StringTable.h"
#include "SubmitPlan.h"
#include "TextRules.h"
#include "ToolHost.h"
#include "TypeSpec.h"
#include "ValueIntake.h"
#include "WaitCursor.h"

namespace {

ToolHost& host() { return ToolHost::Get(); }

constexpr int kAskSubmitChanges = 104;
constexpr int kHelpContext = 1;

int message(int stringId, unsigned type = MessageType::Ok) { return host().ShowMessage(stringId, type); }

}  // namespace

// How each field takes its text follows from its parameter's type string:
// the addresses are shown in canonical form, a changed value is checked, the
// NDS admin password never (it may be any text the NDS tree takes).
const std::array<QuickInstallationDlg::Field, QuickInstallationDlg::kFieldCount> QuickInstallationDlg::kFields = {{
    {1069, 1278, "IP", "InternetAddress", false},
    {1070, 1279, "IP", "DefaultRouter", false},
    {1127, 1280, "IP", "NetMask", false},
    {1072, 1283, "SMB", "Domain/GroupName", true},
    {1071, 1282, "SMB", "ServerName", true},
    {1130, 1284, "NetWare", "ServerName", true},
    {1134, 1281, "HTTP/FTP", "Password", false},
    {1273, 1268, "NetWare", "NDSTreeName", false},
    {1274, 1269, "NetWare", "NDSServerContext", false},
    {1275, 1270, "NetWare", "NDSAdminName", false},
    {1276, 1271, "NetWare", "NDSAdminPassword", false},
    {kNdsInstallId, 1272, "NetWare", "NDSInstall", false},
}};

QuickInstallationDlg::QuickInstallationDlg(QWidget* parent) : ChildDialog(TemplateId::QuickInstallation, parent) {
    WaitCursor wait;
    Create();
}

QuickInstallationDlg::~QuickInstallationDlg() = default;

// --- Loading ---

void QuickInstallationDlg::LoadSettings() {
    // Read into locals first: a file that cannot be read leaves the form,
    // and what was typed into it, as it was.
    ParameterHandler fresh;
    fresh.Load(host().GetShare(), ServerFile::Configuration, CatalogueOf(Configuration));
    std::array<std::string, kFieldCount> values;
    std::array<bool, kFieldCount> found{};
    for (int i = 0; i < kFieldCount; ++i) found[i] = fresh.GetValue(kFields[i].section, kFields[i].key, values[i]);
    store = std::move(fresh);
    current = std::move(values);
    available = found;
    fillNdsInstallList();
}

void QuickInstallationDlg::fillNdsInstallList() {
    auto* list = Control<QComboBox>(kNdsInstallId);
    if (!list) return;
    list->clear();
    if (!available[kNdsInstall]) return;
    const Field& field = kFields[kNdsInstall];
    const Parameter parameter = store.GetSection(field.section).GetParameter(field.key);
    const ChoiceList choices = FillChoiceList(parameter.GetComment(), parameter.GetValue(), parameter.GetTypeSpec(),
                                              ChoiceListVariant::QuickInstallation);
    for (const std::string& entry : choices.entries) list->addItem(FromServerText(entry));
}

void QuickInstallationDlg::fitLabels() {
    // The labels' rectangles were drawn for a narrower font. A name that does
    // not fit shows on one line rather than wrapping out of sight, and a
    // column of labels whose longest name would reach its fields moves left
    // as one, keeping a small gap.
    const int gap = Units().X(3);
    std::map<int, int> shiftOfColumn;  // by the labels' left edge
    std::vector<QLabel*> labels;
    for (const Field& field : kFields) {
        auto* label = Control<QLabel>(field.label);
        const QWidget* control = Item(field.control);
        if (!label || !control) continue;
        labels.push_back(label);
        const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 1;
        if (needed <= label->width()) continue;
        label->setWordWrap(false);
        label->resize(needed, label->height());
        const int over = std::min(label->x() + needed + gap - control->x(), label->x() - gap);
        int& shift = shiftOfColumn[label->x()];
        shift = std::max(shift, over);
    }
    for (QLabel* label : labels) {
        const int shift = shiftOfColumn[label->x()];
        if (shift > 0) label->move(label->x() - shift, label->y());
    }
}

void QuickInstallationDlg::RememberSettings() { loaded = current; }

void QuickInstallationDlg::ShowAvailableFields() {
    for (int i = 0; i < kFieldCount; ++i) {
        // A key that came back to the file since shows again.
        ShowItem(kFields[i].control, available[i]);
        ShowItem(kFields[i].label, available[i]);
        if (available[i] && kFields[i].upperCaseStyle) SetUpperCaseStyle(Control<QLineEdit>(kFields[i].control), true);
    }
    if (QWidget* top = QWidget::window()) top->repaint();
}

// --- Data exchange ---

void QuickInstallationDlg::DoDataExchange(DataExchange& exchange) {
    for (int i = 0; i < kNdsInstall; ++i) {
        if (available[i]) exchangeField(exchange, i);
    }
    if (available[kNdsInstall]) exchange.ComboText(kNdsInstallId, current[kNdsInstall]);
}

void QuickInstallationDlg::exchangeField(DataExchange& exchange, int i) {
    const Field& field = kFields[i];
    // Refuses, while saving, what the server's file cannot hold (in every
    // field, checked or not).
    exchange.Text(field.control, current[i]);
    // The store's copy carries the type string; a key gone from the store
    // raises FileException.
    Parameter parameter = store.GetSection(field.section).GetParameter(field.key);
    if (auto* edit = Control<QLineEdit>(field.control); edit && !exchange.IsSaving()) edit->setCursorPosition(0);
    TakeTypedText(exchange, field.control, parameter, current[i], loaded[i]);
}

bool QuickInstallationDlg::IsChanged() const { return current != loaded; }

// --- Initialisation, submit, reset, leaving ---

bool QuickInstallationDlg::OnInitDialog() {
    WaitCursor wait;
    ChildDialog::OnInitDialog();
    move(Units().ReferencePoint(25, 90));
    fitLabels();
    LoadSettings();
    // Remembered before the first exchange puts the addresses into their
    // canonical form: a value the file holds otherwise counts as changed,
    // and the next submit writes it canonical.
    RememberSettings();
    UpdateData(false);
    ShowAvailableFields();
    UpdateData(true);
    createMarks();
    host().SetHelpContext(kHelpContext);
    return true;
}

bool QuickInstallationDlg::OnCommand(int commandId) {
    switch (commandId) {
    case kSubmitId: OnSubmit(); return true;
    case kResetId: OnReset(); return true;
    default: return ChildDialog::OnCommand(commandId);
    }
}

SubmitPlan QuickInstallationDlg::SaveSettings() {
    ParameterHandler fresh;
    fresh.Load(host().GetShare(), ServerFile::Configuration, CatalogueOf(Configuration));
    SubmitPlan plan(fresh);
    store = std::move(fresh);  // the file as it is now, should the write fail
    // A key the file did not have when the form read it was never shown:
    // its value, should it have appeared since, is not the form's to change.
    // The server need not keep the NDS admin password as written.
    for (int i = 0; i < kFieldCount; ++i) {
        if (available[i]) plan.Set(kFields[i].section, kFields[i].key, current[i], i != kNdsAdminPassword);
    }
    plan.Write();
    return plan;
}

bool QuickInstallationDlg::VerifySettings(const SubmitPlan& plan) {
    ParameterHandler fresh;
    fresh.Load(host().GetShare(), ServerFile::Configuration, CatalogueOf(Configuration));
    store = std::move(fresh);
    return plan.ConfirmedBy(store);
}

void QuickInstallationDlg::OnSubmit() {
    WaitCursor wait;
    try {
        if (!UpdateData(true)) return;
        if (!IsChanged()) {
            message(StringId::NothingChanged);
            return;
        }
        const SubmitPlan plan = SaveSettings();
        bool kept = false;
        try {
            kept = VerifySettings(plan);
        } catch (const StoreError&) {
            host().RecordWrite(plan.Changes(), plan.BytesBefore(), plan.BytesAfter(), false);
            throw;
        }
        host().RecordWrite(plan.Changes(), plan.BytesBefore(), plan.BytesAfter(), kept);
        if (!kept) {
            // What the user typed stays, and still counts as changed.
            message(StringId::Unsuccessful);
            return;
        }
        message(SubmitPlan::SuccessMessage(Configuration));
        host().SetParametersChanged(true);
        RememberSettings();
        submitted = true;
        OnReset();
    } catch (const FileChangedMeanwhile& error) {
        // Another program changed the file between this submit's reading and
        // writing: nothing was written over that, and the values stay.
        host().ReportFailure(StringId::Unsuccessful, error);
    } catch (const StoreError& error) {
        host().ReportFailure(StringId::NoCommunication, error);
    }
}

void QuickInstallationDlg::OnReset() {
    WaitCursor wait;
    try {
        LoadSettings();
        UpdateData(false);
        ShowAvailableFields();
        UpdateData(true);
        RememberSettings();
        updateMarks();
    } catch (const StoreError& error) {
        // The file could not be read: the form keeps what it shows.
        host().ReportFailure(StringId::NoCommunication, error);
    }
}

bool QuickInstallationDlg::CanLeave() {
    try {
        if (!UpdateData(true)) return false;
    } catch (const StoreError& error) {
        // The values could not be checked: stay, with what was typed.
        host().ReportFailure(StringId::NoCommunication, error);
        return false;
    }
    if (!IsChanged()) return true;
    switch (message(kAskSubmitChanges, MessageType::YesNoCancel | MessageType::IconExclamation)) {
    case MessageResult::Cancel: return false;
    case MessageResult::No: return true;
    default:
        submitted = false;
        OnSubmit();
        return submitted;
    }
}

// --- Fields that differ from the file as read ---

std::string QuickInstallationDlg::shownValue(int i) {
    if (i == kNdsInstall) {
        auto* list = Control<QComboBox>(kNdsInstallId);
        return list && IsChoiceTouched(list) ? ToServerTextLossy(list->currentText()) : current[i];
    }
    auto* edit = Control<QLineEdit>(kFields[i].control);
    if (!edit) return current[i];
    Parameter parameter = store.GetSection(kFields[i].section).GetParameter(kFields[i].key);
    return TypedValue(*edit, kFields[i].control, parameter);
}

bool QuickInstallationDlg::fieldChanged(int i) {
    try {
        return available[i] && shownValue(i) != loaded[i];
    } catch (const StoreError&) {
        return false;  // a key gone from the store: the next exchange says so
    }
}

void QuickInstallationDlg::createMarks() {
    for (int i = 0; i < kFieldCount; ++i) {
        marks[i] = std::make_unique<ChangeMark>(Item(kFields[i].label), Item(kFields[i].control));
        if (auto* edit = Control<QLineEdit>(kFields[i].control)) {
            connect(edit, &QLineEdit::textChanged, this, [this] { updateMarks(); });
        }
    }
    // After the list's own tracking of the user's pick.
    if (auto* list = Control<QComboBox>(kNdsInstallId)) connect(list, &QComboBox::activated, this, [this] { updateMarks(); });
    updateMarks();
}

void QuickInstallationDlg::updateMarks() {
    for (int i = 0; i < kFieldCount; ++i) {
        if (marks[i]) marks[i]->Show(fieldChanged(i), ShownChangeValue(kFields[i].key, loaded[i]));
    }
}

ChangeSource::PendingChanges QuickInstallationDlg::Pending() {
    SubmitPlan plan(store);
    for (int i = 0; i < kFieldCount; ++i) {
        if (available[i]) plan.Set(kFields[i].section, kFields[i].key, shownValue(i), false);
    }
    const ChangeSet changes = plan.Changes();
    PendingChanges pending{changes.file, {}};
    for (const Change& change : changes.changes) {
        const Parameter parameter = store.GetSection(change.section).GetParameter(change.key);
        const std::string name = parameter.GetNameId() ? LoadString(parameter.GetNameId()) : std::string();
        pending.changes.push_back({change, name.empty() ? change.key : name, true});
    }
    return pending;
}

void QuickInstallationDlg::Revert(const Change& change) {
    for (int i = 0; i < kFieldCount; ++i) {
        if (change.section != kFields[i].section || change.key != kFields[i].key) continue;
        if (i == kNdsInstall) {
            ShowChoice(Control<QComboBox>(kNdsInstallId), loaded[i]);
        } else if (auto* edit = Control<QLineEdit>(kFields[i].control)) {
            edit->setText(FromServerText(loaded[i]));
            edit->setCursorPosition(0);
        }
    }
    updateMarks();
}

void QuickInstallationDlg::ShowFileAgain() {
    if (Pending().changes.empty()) OnReset();
}
