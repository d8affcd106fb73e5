#include "PageRows.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <algorithm>

#include "ChangeMark.h"
#include "Cp1252.h"
#include "DataExchange.h"
#include "DialogUnits.h"
#include "FormTextDlg.h"
#include "RowLayout.h"
#include "StringTable.h"
#include "SubmitPlan.h"
#include "TypeSpec.h"
#include "ValueIntake.h"

PageRows::PageRows(QWidget& page, const QRect& area, PageMode mode, ParameterSection& working,
                   const ParameterSection& loaded, std::function<void()> showMark)
    : page(page), mode(mode), working(working), loaded(loaded), showMark(std::move(showMark)),
      pane(new ScrollPane(this, kValueBaseId, kTrackedEndId, &page)) {
    pane->setGeometry(area);
    pane->setFont(page.font());
    pane->show();
}

PageRows::~PageRows() { delete pane; }

QWidget* PageRows::LabelAt(int row) const {
    return row >= 0 && row < static_cast<int>(labels.size()) ? labels[row] : nullptr;
}

QWidget* PageRows::ValueAt(int row) const {
    return row >= 0 && row < static_cast<int>(values.size()) ? values[row] : nullptr;
}

QCheckBox* PageRows::CheckAt(int row) const {
    return row >= 0 && row < static_cast<int>(checks.size()) ? checks[row] : nullptr;
}

std::string PageRows::NameOf(const Parameter& parameter) {
    if (parameter.GetNameId() != 0) {
        std::string name = LoadString(parameter.GetNameId());
        if (!name.empty()) return name;
    }
    return parameter.GetKey();
}

std::string PageRows::labelOf(const Parameter& parameter) {
    const bool unsupported = HasNoTypeString(parameter.GetType());
    if (unsupported && showMark) showMark();
    return RowLayout::RowLabel(NameOf(parameter), parameter.GetIndented() != 0, unsupported);
}

void PageRows::Build(int rows, int firstTop) {
    labels.assign(rows, nullptr);
    values.assign(rows, nullptr);
    checks.assign(rows, nullptr);
    marks.clear();
    marks.resize(rows);
    for (int row = 0; row < rows; ++row) buildRow(row, firstTop);
    if (mode != PageMode::VolumeRights) return;
    // One column of any length: the pane scrolls it.
    const DialogUnits units = DialogUnits::ForFont(page.font());
    const int width = pane->width() - 2 - pane->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    pane->SetScrollSizes(ScrollPane::kMappingText, QSize(width, units.ReferenceY(rows * RowLayout::kRowPitch + 4)),
                         QSize(0, units.ReferenceY(8 * (RowLayout::kControlHeight + 4))),
                         QSize(0, units.ReferenceY(RowLayout::kControlHeight + 4)));
}

void PageRows::buildRow(int row, int firstTop) {
    const Parameter& parameter = working.ParameterAt(row);
    const DialogUnits units = DialogUnits::ForFont(page.font());
    const RowLayout::RowGeometry g =
        RowLayout::LayoutRow(mode, row, firstTop, parameter.GetIndented() != 0, parameter.GetType());
    const QString label = FromServerText(labelOf(parameter));
    const QRect labelRect = ToPagePixels(g.label, units);
    QWidget* content = pane->Content();
    if (g.labelIsCheckBox) {
        checks[row] = controls.CreateCheckBox(content, page.font(), kCheckBaseId + row, label, labelRect.left(),
                                              labelRect.top(), labelRect.right() + 1, labelRect.bottom() + 1);
        pane->AttachControl(checks[row]);
    } else {
        labels[row] = controls.CreateStatic(content, page.font(), kLabelBaseId + row, label, labelRect.left(),
                                            labelRect.top(), labelRect.right() + 1, labelRect.bottom() + 1);
    }
    const QRect r = ToPagePixels(g.valueRect, units);
    if (g.value == RowLayout::ValueControl::Combo) {
        auto* combo = controls.CreateComboBox(content, page.font(), kValueBaseId + row, r.left(), r.top(),
                                              r.right() + 1, r.bottom() + 1);
        fillCombo(combo, parameter);
        values[row] = combo;
    } else if (g.value != RowLayout::ValueControl::None) {
        auto* edit =
            controls.CreateEdit(content, page.font(), kValueBaseId + row, r.x(), r.y(), r.width(), r.height());
        edit->setText(FromServerText(TrimWhiteSpace(parameter.GetValue())));
        edit->setCursorPosition(0);
        edit->setReadOnly(g.value == RowLayout::ValueControl::ReadOnlyEdit || parameter.IsReadOnly());
        SetUpperCaseStyle(edit, parameter.IsUpperCase());
        values[row] = edit;
    }
    if (values[row]) {
        // Read out as the row's name, not its marked label, its number or
        // (a choice list, named by its label) its value.
        const QString name = FromServerText(NameOf(parameter));
        values[row]->setAccessibleName(name);
        if (auto* labelOfRow = qobject_cast<QLabel*>(labels[row])) {
            labelOfRow->setBuddy(values[row]);
            labelOfRow->setAccessibleName(name);
        }
        pane->AttachControl(values[row]);
        marks[row] = std::make_unique<ChangeMark>(labels[row] ? labels[row] : checks[row], values[row]);
        if (auto* edit = qobject_cast<QLineEdit*>(values[row])) {
            QObject::connect(edit, &QLineEdit::textChanged, edit, [this, row] { updateMark(row); });
        }
    }
}

void PageRows::fillCombo(QComboBox* combo, const Parameter& parameter) {
    const ChoiceList choices = FillChoiceList(parameter.GetComment(), parameter.GetValue(), parameter.GetTypeSpec(),
                                              ChoiceListVariant::ConfigurationPage);
    combo->clear();
    for (const std::string& entry : choices.entries) combo->addItem(FromServerText(entry));
    controls.FitComboHeight(combo, combo->count());
    if (parameter.GetKey() == "TimeZone") {
        combo->view()->setMinimumWidth(DialogUnits::ForFont(page.font()).ReferenceX(RowLayout::kTimeZoneDropWidth));
    }
}

void PageRows::Exchange(DataExchange& exchange) {
    const int rows = std::min(Count(), working.GetParameterCount());
    for (int row = 0; row < rows; ++row) exchangeRow(exchange, row);
    UpdateMarks();
}

void PageRows::exchangeRow(DataExchange& rows, int row) {
    Parameter& parameter = working.ParameterAt(row);
    const ControlType type = parameter.GetType();
    const int id = kValueBaseId + row;
    if (!rows.IsSaving()) {
        std::string label = labelOf(parameter);
        rows.Text(type == ControlType::EditCheck ? kCheckBaseId + row : kLabelBaseId + row, label);
    }
    if (!values[row]) return;
    if (IsChoiceList(type)) {
        std::string value = parameter.GetValue();
        rows.ComboText(id, value);
        if (rows.IsSaving()) working.SetValueAt(row, value);
    } else if (IsEditBox(type)) {
        exchangeEdit(rows, row);
    } else if (type == ControlType::Stat && !rows.IsSaving()) {
        rows.SetControlText(id, parameter.GetValue());
    }
}

void PageRows::exchangeEdit(DataExchange& rows, int row) {
    Parameter& parameter = working.ParameterAt(row);
    const ControlType type = parameter.GetType();
    const int id = kValueBaseId + row;
    // The edit's text: while saving through the exchange, which refuses what
    // the server's file cannot hold; while loading as shown.
    std::string text;
    if (rows.IsSaving()) {
        rows.Text(id, text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(values[row])) {
        text = ToServerTextLossy(edit->text());
    }
    if (type == ControlType::EditCheck) {
        int state = parameter.GetCheckState();
        rows.Check(kCheckBaseId + row, state);
        parameter.SetCheckState(state);
    }
    const std::string stored = parameter.GetValue();
    TakeTypedText(rows, id, parameter, text, loaded.GetValueAt(row));
    // Loading shows what the row holds, not what its edit held.
    if (!rows.IsSaving() && (type == ControlType::EditCheck || type == ControlType::Unknown)) {
        rows.SetControlText(id, stored);
        parameter.SetValue(TrimWhiteSpace(stored));
    }
}

void PageRows::OnChildCommand(int id, int code) {
    const int rows = Count();
    if (code == ScrollPane::kClicked && id >= kCheckBaseId && id < kCheckBaseId + rows) {
        onCheckClicked(id - kCheckBaseId);
        updateMark(id - kCheckBaseId);
    } else if (code == ScrollPane::kSelectionChange && id >= kValueBaseId && id < kValueBaseId + rows) {
        onChoiceChanged(id - kValueBaseId);
        updateMark(id - kValueBaseId);
    }
}

void PageRows::onCheckClicked(int row) {
    auto* edit = qobject_cast<QLineEdit*>(ValueAt(row));
    QCheckBox* check = CheckAt(row);
    if (!edit || !check) return;
    if (!check->isChecked()) {
        edit->setText(FromServerText(loaded.GetValueAt(row)));
        edit->setReadOnly(true);
    } else {
        edit->setReadOnly(false);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    }
}

void PageRows::onChoiceChanged(int row) {
    auto* combo = qobject_cast<QComboBox*>(ValueAt(row));
    if (!combo || combo->currentIndex() < 0) return;
    const std::string text = ToServerTextLossy(combo->currentText());
    if (!IsSpecialChoice(text)) {
        working.SetValueAt(row, text);
        return;
    }
    FormTextDlg dialog(NameOf(working.ParameterAt(row)),
                       text == ServerListEntry ? FormTextDlg::ServerList : FormTextDlg::NetWareAddress, &page);
    dialog.DoModal();
    std::string entered;
    if (dialog.GetText(entered)) {
        const QString shown = FromServerText(entered);
        int index = combo->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0) {
            combo->addItem(shown);
            index = combo->count() - 1;
            controls.FitComboHeight(combo, combo->count());
        }
        combo->setCurrentIndex(index);
        working.SetValueAt(row, entered);
    } else {
        // Nothing entered: the list shows the value again, which stays.
        ShowChoice(combo, working.GetValueAt(row));
    }
}

// --- Rows that differ from the file as read ---

Parameter PageRows::CurrentAt(int row) const {
    Parameter current = working.ParameterAt(row);
    if (const QCheckBox* check = CheckAt(row)) current.SetCheckState(check->isChecked() ? 1 : 0);
    // A choice list's pick is in the working section at once; an edit's
    // text only when the page exchanges it.
    if (auto* edit = qobject_cast<QLineEdit*>(ValueAt(row)); edit && IsEditBox(current.GetType())) {
        TypedValue(*edit, kValueBaseId + row, current);
    }
    return current;
}

bool PageRows::IsChanged(int row) const {
    if (row < 0 || row >= std::min(Count(), working.GetParameterCount()) || !values[row]) return false;
    return !CurrentAt(row).IsUnchanged(loaded.GetValueAt(row));
}

void PageRows::Revert(int row) {
    if (!IsChanged(row)) return;
    const std::string was = loaded.GetValueAt(row);
    if (QCheckBox* check = CheckAt(row); check && check->isChecked()) {
        check->setChecked(false);
        onCheckClicked(row);  // puts the value read back and closes the field
    } else if (auto* combo = qobject_cast<QComboBox*>(ValueAt(row))) {
        ShowChoice(combo, was);
        working.SetValueAt(row, was);
    } else if (auto* edit = qobject_cast<QLineEdit*>(ValueAt(row))) {
        edit->setText(FromServerText(TrimWhiteSpace(was)));
        edit->setCursorPosition(0);
    }
    updateMark(row);
}

void PageRows::UpdateMarks() {
    for (int row = 0; row < static_cast<int>(marks.size()); ++row) updateMark(row);
}

void PageRows::updateMark(int row) {
    if (row < 0 || row >= static_cast<int>(marks.size()) || !marks[row] || row >= working.GetParameterCount()) return;
    marks[row]->Show(IsChanged(row), ShownChangeValue(working.ParameterAt(row).GetKey(), loaded.GetValueAt(row)));
}

// --- What a submit of the rows would write ---

void PageRows::TakeInto(SubmitPlan& plan, int rows, bool asShown) const {
    for (int row = 0; row < rows; ++row) {
        plan.Take(working.GetName(), asShown ? CurrentAt(row) : working.ParameterAt(row), loaded.GetValueAt(row));
    }
}

ChangeSource::PendingChanges PageRows::Pending(const ParameterHandler& store, int rows) const {
    // Never written: the plan's copy of the store goes with it.
    SubmitPlan plan(store);
    TakeInto(plan, rows, true);
    const ChangeSet changes = plan.Changes();
    ChangeSource::PendingChanges pending{changes.file, {}};
    for (const Change& change : changes.changes) {
        const int row = RowOf(change, rows);
        pending.changes.push_back({change, row < 0 ? change.key : NameOf(working.ParameterAt(row)), IsChanged(row)});
    }
    return pending;
}

int PageRows::RowOf(const Change& change, int rows) const {
    if (change.section != working.GetName()) return -1;
    for (int row = 0; row < rows; ++row) {
        if (working.ParameterAt(row).GetKey() == change.key) return row;
    }
    return -1;
}
