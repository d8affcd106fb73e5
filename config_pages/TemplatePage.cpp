#include "TemplatePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "Catalogue.h"
#include "ConfigApp.h"
#include "Cp1252.h"
#include "DataExchange.h"
#include "DialogTemplates.h"
#include "FormTextDlg.h"
#include "Messages.h"
#include "RowLayout.h"
#include "ServerFiles.h"
#include "StringIds.h"
#include "StringTable.h"
#include "SubmitPlan.h"
#include "TypeSpec.h"
#include "WaitCursor.h"

namespace {

ConfigApp& app() { return ConfigApp::Get(); }

// Messages of the page.
constexpr int kAskSubmitChanges = 104;
constexpr int kPageUnavailable = 1004;

int message(int stringId, unsigned type) { return app().ShowMessage(LoadString(stringId), type, stringId); }

}  // namespace

TemplatePage::TemplatePage(QWidget* parent) : PropertyPage(TemplateId::ParameterPage, parent) {
    submitCaption = "Submit Settings";
    resetCaption = "Reset Settings";
}

TemplatePage::~TemplatePage() = default;

void TemplatePage::Initialise(const std::string& pageTitle, int section, PageMode pageMode, int firstParameter,
                              int parameterCount) {
    // The caption reset: every flag starts afresh with each activation.
    built = unsupportedShown = inInitialisation = submitSucceeded = unavailable = false;
    if (chooser) chooser->Reset();
    submitCaption = "Submit Settings";
    resetCaption = "Reset Settings";

    title = pageTitle;
    sectionIndex = section;
    mode = pageMode;
    first = firstParameter;
    count = parameterCount;
    if (mode == PageMode::Configuration) {
        submitCaption = "Submit " + title + " Settings";
        resetCaption = "Reset " + title + " Settings";
    }
    SetTitle(FromServerText(title));
}

bool TemplatePage::OnInitDialog() {
    WaitCursor wait;
    inInitialisation = true;
    PropertyPage::OnInitDialog();
    inInitialisation = false;
    return true;
}

bool TemplatePage::OnSetActive() {
    {
        WaitCursor wait;
        if (pane) TearDown();  // rows of an activation that was never left
        Initialise(title, sectionIndex, mode, first, count);
        UpdateData(false);
        UpdateData(true);
        redraw();
        app().SetHelpContext(HelpContextFor(working.GetTitleId(), app().GetServerVersion()));
    }
    return PropertyPage::OnSetActive();
}

int TemplatePage::HelpContextFor(int titleId, const std::string& serverVersion) {
    switch (titleId) {
    case 10100: return 3;
    case 10200: return 4;
    case 10300: return 5;
    case 10400: return 6;
    case 10500: return 7;
    case 10600: return 8;
    case 10700: return 9;
    case 10800: return 10;
    case 30001: return serverVersion < "3.07" ? 14 : 16;
    case 30002: return 13;
    default: return 0;
    }
}

int TemplatePage::RowCount() {
    const int rows = working.GetParameterCount();
    return chooser ? chooser->RowsShown(rows) : rows;
}

QWidget* TemplatePage::LabelAt(int row) const {
    return row >= 0 && row < static_cast<int>(labels.size()) ? labels[row] : nullptr;
}

QWidget* TemplatePage::ValueAt(int row) const {
    return row >= 0 && row < static_cast<int>(values.size()) ? values[row] : nullptr;
}

QCheckBox* TemplatePage::CheckAt(int row) const {
    return row >= 0 && row < static_cast<int>(checks.size()) ? checks[row] : nullptr;
}

// --- Loading and building ---

ParameterSection TemplatePage::configurationSlice(const ParameterHandler& handler) const {
    // The file may have changed since the sheet was built: a section that is
    // gone, or a shorter one, must not give a page beyond what the file holds.
    if (sectionIndex < 0 || sectionIndex >= handler.GetSectionCount()) {
        throw FileException(handler.GetPath(), "the section of this page is no longer in the file");
    }
    ParameterSection section = handler.GetSectionAt(sectionIndex);
    const int available = std::max(0, section.GetParameterCount() - first);
    section.KeepRange(std::min(first, section.GetParameterCount()), std::clamp(count, 0, available));
    return section;
}

void TemplatePage::LoadPageData() {
    // Everything is read into locals first: a file that cannot be read
    // leaves the page's store and sections as they were.
    ParameterHandler handler;
    ParameterSection section;
    if (chooser) {
        chooser->Load(app().GetShare(), handler, section);
    } else if (readAlready) {
        handler = std::move(*readAlready);
        readAlready.reset();
        section = configurationSlice(handler);
    } else {
        handler.Load(app().GetShare(), ServerFile::Configuration, CatalogueOf(Configuration));
        section = configurationSlice(handler);
    }
    store = std::move(handler);
    loaded = std::move(section);
    working = loaded;
}

void TemplatePage::buildIfNeeded() {
    if (built) return;
    built = true;
    try {
        if (chooser) chooser->List(app().GetShare(), app().GetServerVersion());
        LoadPageData();
        buildControls();
    } catch (const FileException& error) {
        app().ReportFailure(kPageUnavailable, error);
        unavailable = true;
        loaded = working = ParameterSection();  // no rows
        throw;
    }
}

std::string TemplatePage::rowName(const Parameter& parameter) const {
    if (parameter.GetNameId() != 0) {
        std::string name = LoadString(parameter.GetNameId());
        if (!name.empty()) return name;
    }
    return parameter.GetKey();
}

std::string TemplatePage::rowLabel(const Parameter& parameter) {
    const bool unsupported = RowLayout::IsUnsupportedType(parameter.GetType());
    if (unsupported && !unsupportedShown) {
        unsupportedShown = true;
        ShowItem(kUnsupportedMarkId, true);
    }
    return RowLayout::RowLabel(rowName(parameter), parameter.GetIndented() != 0, unsupported);
}

void TemplatePage::buildControls() {
    frame = Item(kFrameId);
    const QRect area = frame ? frame->geometry().adjusted(2, 2, -2, -2) : rect();
    pane = new ScrollPane(this, kValueBaseId, kTrackedEndId, this);
    pane->setGeometry(area);
    pane->setFont(font());
    if (frame) frame->show();
    pane->show();

    const int firstTop =
        chooser ? chooser->AddDriveRow(store, working.GetName(), pane->Content(), controls, Units(), RowLayout::kTopMargin)
                : RowLayout::kTopMargin;

    const int rows = RowCount();
    labels.assign(rows, nullptr);
    values.assign(rows, nullptr);
    checks.assign(rows, nullptr);
    for (int row = 0; row < rows; ++row) buildRow(row, firstTop);

    if (mode == PageMode::VolumeRights) {
        // One column of any length: the pane scrolls it.
        const int barWidth = pane->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const int width = pane->width() - 2 - barWidth;
        const DialogUnits units = Units();
        pane->SetScrollSizes(ScrollPane::kMappingText, QSize(width, units.ReferenceY(rows * RowLayout::kRowPitch + 4)),
                             QSize(0, units.ReferenceY(8 * (RowLayout::kControlHeight + 4))),
                             QSize(0, units.ReferenceY(RowLayout::kControlHeight + 4)));
    }
}

void TemplatePage::buildRow(int row, int firstTop) {
    const Parameter& parameter = working.ParameterAt(row);
    const RowLayout::RowGeometry g =
        RowLayout::LayoutRow(mode, row, firstTop, parameter.GetIndented() != 0, parameter.GetType());
    const QString label = FromServerText(rowLabel(parameter));
    const QRect labelRect = ToPagePixels(g.label, Units());
    if (g.labelIsCheckBox) {
        checks[row] = controls.CreateCheckBox(pane->Content(), font(), kCheckBaseId + row, label, labelRect.left(),
                                              labelRect.top(), labelRect.right() + 1, labelRect.bottom() + 1);
        pane->AttachControl(checks[row]);
    } else {
        labels[row] = controls.CreateStatic(pane->Content(), font(), kLabelBaseId + row, label, labelRect.left(),
                                            labelRect.top(), labelRect.right() + 1, labelRect.bottom() + 1);
    }
    const QRect r = ToPagePixels(g.valueRect, Units());
    if (g.value == RowLayout::ValueControl::Combo) {
        auto* combo = controls.CreateComboBox(pane->Content(), font(), kValueBaseId + row, r.left(), r.top(),
                                              r.right() + 1, r.bottom() + 1);
        fillCombo(combo, parameter);
        values[row] = combo;
    } else if (g.value != RowLayout::ValueControl::None) {
        auto* edit = controls.CreateEdit(pane->Content(), font(), kValueBaseId + row, r.x(), r.y(), r.width(),
                                         r.height());
        edit->setText(FromServerText(TrimWhiteSpace(parameter.GetValue())));
        edit->setCursorPosition(0);
        edit->setReadOnly(g.value == RowLayout::ValueControl::ReadOnlyEdit || parameter.IsReadOnly());
        SetUpperCaseStyle(edit, parameter.IsUpperCase());
        values[row] = edit;
    }
    if (values[row]) {
        // Read out as the row's name, not its prefixed label or its number.
        values[row]->setAccessibleName(FromServerText(rowName(parameter)));
        pane->AttachControl(values[row]);
    }
}

void TemplatePage::fillCombo(QComboBox* combo, const Parameter& parameter) {
    const ChoiceList choices = FillChoiceList(parameter.GetComment(), parameter.GetValue(), parameter.GetTypeSpec(),
                                              ChoiceListVariant::ConfigurationPage);
    combo->clear();
    for (const std::string& entry : choices.entries) combo->addItem(FromServerText(entry));
    controls.FitComboHeight(combo, combo->count());
    if (parameter.GetKey() == "TimeZone") {
        combo->view()->setMinimumWidth(Units().ReferenceX(RowLayout::kTimeZoneDropWidth));
    }
}

void TemplatePage::TearDown() {
    ShowItem(kUnsupportedMarkId, false);
    if (unavailable) return;
    for (size_t row = 0; row < values.size(); ++row) {
        delete values[row];
        delete labels[row];
        delete checks[row];
    }
    values.clear();
    labels.clear();
    checks.clear();
    if (chooser) chooser->RemoveDriveRow();
    if (frame) frame->hide();
    delete pane;
    pane = nullptr;
}

void TemplatePage::fitCaptionButtons() {
    // Long section titles make captions the template's buttons cannot hold:
    // widen both alike about the gap between them, up to the mark beside.
    if (!submitButton || !resetButton) return;
    if (!buttonsPlaced) {
        submitHome = submitButton->geometry();
        resetHome = resetButton->geometry();
        buttonsPlaced = true;
    }
    const int needed = std::max(submitButton->sizeHint().width(), resetButton->sizeHint().width());
    if (needed <= submitHome.width()) {
        submitButton->setGeometry(submitHome);
        resetButton->setGeometry(resetHome);
        return;
    }
    const int gap = resetHome.left() - (submitHome.right() + 1);
    const int centre = submitHome.right() + 1 + gap / 2;
    const QWidget* mark = Item(kUnsupportedMarkId);
    const int limit = mark ? mark->geometry().left() - gap / 2 : width();
    const int half = std::max(gap / 2, 4);
    const int wide = std::min(needed, limit - centre - half);
    submitButton->setGeometry(centre - half - wide, submitHome.top(), wide, submitHome.height());
    resetButton->setGeometry(centre + half, resetHome.top(), wide, resetHome.height());
}

void TemplatePage::redraw() {
    update();
    repaint();
}

// --- Data exchange ---

void TemplatePage::DoDataExchange(DataExchange& exchange) {
    submitButton = Control<QPushButton>(kSubmitId);
    resetButton = Control<QPushButton>(kResetId);
    frame = Item(kFrameId);
    if (mode != PageMode::Configuration && !chooser) {
        list = Control<QListWidget>(kListId);
        chooser = std::make_unique<ListChooser>(mode, list);
        connect(list, &QListWidget::currentRowChanged, this, &TemplatePage::onListChoice);
    }
    if (inInitialisation) return;
    try {
        buildIfNeeded();
        exchange.Text(kSubmitId, submitCaption);
        exchange.Text(kResetId, resetCaption);
        if (!exchange.IsSaving()) fitCaptionButtons();
        if (!pane) return;
        DataExchange rows(pane, exchange.IsSaving());
        const int rowCount = std::min<int>(RowCount(), static_cast<int>(values.size()));
        for (int row = 0; row < rowCount; ++row) exchangeRow(rows, row);
    } catch (const FileException&) {
        redraw();
    }
}

void TemplatePage::exchangeRow(DataExchange& rows, int row) {
    Parameter& parameter = working.ParameterAt(row);
    const std::string type = parameter.GetType();
    const int id = kValueBaseId + row;
    if (!rows.IsSaving()) {
        std::string label = rowLabel(parameter);
        rows.Text(type == "EditCheck" ? kCheckBaseId + row : kLabelBaseId + row, label);
    }
    if (!values[row]) return;

    // The edit's text: while saving through the exchange, which refuses what
    // the server's file cannot hold; while loading as shown.
    auto* edit = qobject_cast<QLineEdit*>(values[row]);
    const auto editText = [&] {
        std::string text;
        if (rows.IsSaving()) {
            rows.Text(id, text);
        } else if (edit) {
            text = ToServerTextLossy(edit->text());
        }
        return text;
    };
    const auto showText = [&](const std::string& text) {
        const QString shown = FromServerText(text);
        if (edit && edit->text() != shown) {
            edit->setText(shown);
            edit->setCursorPosition(0);  // show the start of a long value
        }
    };

    if (type == "Combo" || type == "UnknownCombo") {
        std::string value = parameter.GetValue();
        rows.ComboText(id, value);
        if (rows.IsSaving()) working.SetValueAt(row, value);
    } else if (type == "Edit") {
        const std::string text = parameter.Normalise(editText());
        showText(text);
        working.SetValueAt(row, TrimWhiteSpace(text));
        if (rows.IsSaving() && working.GetValueAt(row) != loaded.GetValueAt(row)) {
            working.ParameterAt(row).Validate(rows, id);
        }
    } else if (type == "EditCheck" || type == "Unknown") {
        const std::string text = parameter.Normalise(editText());
        showText(text);
        int state = parameter.GetCheckState();
        if (type == "EditCheck") rows.Check(kCheckBaseId + row, state);
        if (rows.IsSaving()) {
            working.SetValueAt(row, TrimWhiteSpace(text));
        } else {
            showText(parameter.GetValue());
            working.SetValueAt(row, TrimWhiteSpace(parameter.GetValue()));
        }
        if (type == "EditCheck") {
            working.ParameterAt(row).SetCheckState(state);
            if (rows.IsSaving() && state == 1) working.ParameterAt(row).Validate(rows, id);
        }
    } else if (type == "NoCheck") {
        working.SetValueAt(row, TrimWhiteSpace(editText()));
    } else if (type == "Stat") {
        if (!rows.IsSaving()) showText(parameter.GetValue());
    }
}

// --- Leaving, submitting, resetting ---

bool TemplatePage::OnKillActive() {
    if (!PropertyPage::OnKillActive()) return false;
    if (!working.IsEqual(loaded)) {
        const int answer = message(kAskSubmitChanges, MessageType::YesNoCancel | MessageType::IconExclamation);
        if (answer == MessageResult::Cancel) return false;
        if (answer == MessageResult::Yes) {
            submitSucceeded = false;
            Submit();
            if (!submitSucceeded) return false;
        }
    }
    TearDown();
    return true;
}

bool TemplatePage::OnCommand(int commandId) {
    switch (commandId) {
    case kSubmitId: Submit(); return true;
    case kResetId: Reset(); return true;
    default: return PropertyPage::OnCommand(commandId);
    }
}

void TemplatePage::Submit() {
    WaitCursor wait;
    if (!UpdateData(true)) return;
    if (working.IsEqual(loaded)) {
        message(StringId::NothingChanged, MessageType::Ok);
        return;
    }
    try {
        doSubmit();
    } catch (const FileChangedMeanwhile& error) {
        // Someone else changed the file since the page read it: nothing was
        // written over that. What the user typed stays, and the next submit
        // applies it to the file as it is now.
        app().ReportFailure(StringId::Unsuccessful, error);
        readStoreAgain();
    } catch (const StoreError& error) {
        app().ReportFailure(StringId::NoCommunication, error);
    }
}

void TemplatePage::readStoreAgain() {
    const ParameterSection keptLoaded = loaded;
    const ParameterSection keptWorking = working;
    try {
        LoadPageData();
    } catch (const StoreError&) {
        // Reported by the next submit, which reads the file again.
    }
    loaded = keptLoaded;
    working = keptWorking;
}

bool TemplatePage::confirm(const SubmitPlan& plan) {
    for (const int question : plan.Questions()) {
        // A factory reset is the one question whose safe answer is the default.
        const unsigned defaultNo = question == StringId::ConfirmFactoryDefaults ? MessageType::DefaultButton2 : 0;
        if (message(question, MessageType::YesNo | MessageType::IconExclamation | defaultNo) != MessageResult::Yes) {
            return false;
        }
    }
    return true;
}

void TemplatePage::doSubmit() {
    SubmitPlan plan(store);
    const int rows = std::min<int>(RowCount(), static_cast<int>(values.size()));
    for (int row = 0; row < rows; ++row) {
        plan.Take(working.GetName(), working.ParameterAt(row), loaded.GetValueAt(row));
    }
    if (!confirm(plan)) return;  // nothing is written; the edits stay
    plan.Write();

    if (plan.AsksRestart()) {
        message(StringId::ServerRestarting, MessageType::Ok);
        app().SetParametersChanged(false);
        loaded = working;
        if (QWidget* top = QWidget::window()) QMetaObject::invokeMethod(top, "close", Qt::QueuedConnection);
        return;
    }

    const ParameterSection submitted = working;
    const ParameterSection keptLoaded = loaded;
    LoadPageData();
    if (plan.ConfirmedBy(store)) {
        const CatalogueKind kind = static_cast<CatalogueKind>(mode);
        message(SubmitPlan::SuccessMessage(kind), MessageType::Ok);
        if (kind == Configuration) app().SetParametersChanged(true);
        submitSucceeded = true;
        Reset();
    } else {
        message(StringId::Unsuccessful, MessageType::Ok);
        submitSucceeded = false;
        working = submitted;
        loaded = keptLoaded;
        if (mode == PageMode::VolumeRights) Reset();
    }
}

void TemplatePage::Reset() {
    WaitCursor wait;
    TearDown();
    built = unsupportedShown = unavailable = false;
    UpdateData(false);
    UpdateData(true);
    redraw();
}

// --- The list of the list-driven pages ---

void TemplatePage::onListChoice(int line) {
    if (!chooser || line < 0 || line == chooser->Chosen()) return;
    // The line shown leaves first, as a tab would.
    if (!OnKillActive()) {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(chooser->Chosen());
        return;
    }
    WaitCursor wait;
    built = unsupportedShown = false;
    chooser->Choose(line);
    UpdateData(false);
    UpdateData(true);
    redraw();
}

// --- Notifications of the row controls ---

void TemplatePage::OnChildCommand(int id, int code) {
    const int rows = static_cast<int>(values.size());
    if (code == ScrollPane::kClicked && id >= kCheckBaseId && id < kCheckBaseId + rows) {
        onCheckClicked(id - kCheckBaseId);
    } else if (code == ScrollPane::kSelectionChange && id >= kValueBaseId && id < kValueBaseId + rows) {
        onChoiceChanged(id - kValueBaseId);
    }
}

void TemplatePage::onCheckClicked(int row) {
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

void TemplatePage::onChoiceChanged(int row) {
    auto* combo = qobject_cast<QComboBox*>(ValueAt(row));
    if (!combo || combo->currentIndex() < 0) return;
    const std::string text = ToServerTextLossy(combo->currentText());
    if (!IsSpecialChoice(text)) {
        working.SetValueAt(row, text);
        return;
    }
    FormTextDlg dialog(rowName(working.ParameterAt(row)),
                       text == ServerListEntry ? FormTextDlg::ServerList : FormTextDlg::NetWareAddress, this);
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
