#include "TemplatePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "Catalogue.h"
#include "Cp1252.h"
#include "DataExchange.h"
#include "DialogTemplates.h"
#include "FormTextDlg.h"
#include "Messages.h"
#include "RowLayout.h"
#include "ServerFiles.h"
#include "StringIds.h"
#include "SubmitPlan.h"
#include "ToolHost.h"
#include "TypeSpec.h"
#include "WaitCursor.h"

namespace {

ToolHost& host() { return ToolHost::Get(); }

// Messages of the page.
constexpr int kAskSubmitChanges = 104;
constexpr int kPageUnavailable = 1004;

int message(int stringId, unsigned type) { return host().ShowMessage(stringId, type); }

}  // namespace

TemplatePage::TemplatePage(QWidget* parent) : PropertyPage(TemplateId::ParameterPage, parent) {
    submitCaption = "Submit Settings";
    resetCaption = "Reset Settings";
}

TemplatePage::~TemplatePage() = default;

void TemplatePage::Initialise(const std::string& pageTitle, int section, PageMode pageMode, int firstParameter,
                              int parameterCount) {
    // The caption reset: every flag starts afresh with each activation.
    built = inInitialisation = submitSucceeded = unavailable = false;
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
        if (rows) TearDown();  // rows of an activation that was never left
        Initialise(title, sectionIndex, mode, first, count);
        UpdateData(false);
        UpdateData(true);
        redraw();
        host().SetHelpContext(HelpContextFor(working.GetTitleId(), host().GetServerVersion()));
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

int TemplatePage::shownRows() { return rows ? std::min(RowCount(), rows->Count()) : 0; }

QWidget* TemplatePage::LabelAt(int row) const { return rows ? rows->LabelAt(row) : nullptr; }
QWidget* TemplatePage::ValueAt(int row) const { return rows ? rows->ValueAt(row) : nullptr; }
QCheckBox* TemplatePage::CheckAt(int row) const { return rows ? rows->CheckAt(row) : nullptr; }
ScrollPane* TemplatePage::Pane() const { return rows ? rows->Pane() : nullptr; }

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
        chooser->Load(host().GetShare(), handler, section);
    } else if (readAlready) {
        handler = std::move(*readAlready);
        readAlready.reset();
        section = configurationSlice(handler);
    } else {
        handler.Load(host().GetShare(), ServerFile::Configuration, CatalogueOf(Configuration));
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
        if (chooser) chooser->List(host().GetShare(), host().GetServerVersion());
        LoadPageData();
        buildControls();
    } catch (const FileException& error) {
        host().ReportFailure(kPageUnavailable, error);
        unavailable = true;
        loaded = working = ParameterSection();  // no rows
        throw;
    }
}

void TemplatePage::buildControls() {
    frame = Item(kFrameId);
    const QRect area = frame ? frame->geometry().adjusted(2, 2, -2, -2) : rect();
    rows = std::make_unique<PageRows>(*this, area, mode, working, loaded, [this] { ShowItem(kUnsupportedMarkId, true); });
    if (auto* box = qobject_cast<QFrame*>(frame)) {
        // The rows sit in a sunken edge; a volume rights file's edge has a
        // black inner line, as the list beside it.
        const bool black = mode == PageMode::VolumeRights && chooser->HasLines();
        box->setFrameStyle((black ? QFrame::WinPanel : QFrame::StyledPanel) | QFrame::Sunken);
        box->show();
    }
    const int firstTop = chooser ? chooser->AddDriveRow(store, working.GetName(), rows->Pane()->Content(), controls,
                                                        Units(), RowLayout::kTopMargin)
                                 : RowLayout::kTopMargin;
    rows->Build(RowCount(), firstTop);
}

void TemplatePage::TearDown() {
    ShowItem(kUnsupportedMarkId, false);
    if (unavailable) return;
    if (chooser) chooser->RemoveDriveRow();
    if (frame) frame->hide();
    rows.reset();
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
        if (!rows) return;
        DataExchange exchangeRows(rows->Pane(), exchange.IsSaving());
        rows->Exchange(exchangeRows);
    } catch (const FileException&) {
        redraw();
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
        host().ReportFailure(StringId::Unsuccessful, error);
        readStoreAgain();
    } catch (const StoreError& error) {
        host().ReportFailure(StringId::NoCommunication, error);
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

void TemplatePage::doSubmit() {
    // The plan works on its own copy: what a declined or failed submit put
    // into it never reaches the next one.
    SubmitPlan plan(store);
    if (rows) rows->TakeInto(plan, shownRows(), false);
    if (!host().ConfirmQuestions(plan.Questions())) return;  // nothing is written; the edits stay
    const ChangeSet changes = plan.Changes();
    plan.Write();
    const std::string before = plan.BytesBefore(), after = plan.BytesAfter();
    store = plan.ReleaseWritten();  // the file as this page wrote it, should reading it back fail

    if (plan.AsksRestart()) {
        host().RecordWrite(changes, before, after, true);  // the server is going away: nothing to read back
        message(StringId::ServerRestarting, MessageType::Ok);
        host().SetParametersChanged(false);
        loaded = working;
        host().EndProgram();
        return;
    }
    bool kept = false;
    try {
        kept = readBack(plan);
    } catch (const StoreError&) {
        host().RecordWrite(changes, before, after, false);
        throw;
    }
    host().RecordWrite(changes, before, after, kept);
}

bool TemplatePage::readBack(const SubmitPlan& plan) {
    const ParameterSection submitted = working;
    const ParameterSection keptLoaded = loaded;
    LoadPageData();
    if (plan.ConfirmedBy(store)) {
        const CatalogueKind kind = static_cast<CatalogueKind>(mode);
        message(SubmitPlan::SuccessMessage(kind), MessageType::Ok);
        if (kind == Configuration) host().SetParametersChanged(true);
        submitSucceeded = true;
        Reset();
        return true;
    }
    message(StringId::Unsuccessful, MessageType::Ok);
    submitSucceeded = false;
    working = submitted;
    loaded = keptLoaded;
    if (mode == PageMode::VolumeRights) Reset();
    return false;
}

void TemplatePage::Reset() {
    WaitCursor wait;
    TearDown();
    built = unavailable = false;
    UpdateData(false);
    UpdateData(true);
    redraw();
}

// --- What a Submit would write ---

ChangeSource::PendingChanges TemplatePage::Pending() {
    if (!rows || unavailable) return {};
    return rows->Pending(store, shownRows());
}

void TemplatePage::Revert(const Change& change) {
    if (!rows) return;
    if (const int row = rows->RowOf(change, shownRows()); row >= 0) rows->Revert(row);
}

void TemplatePage::ShowFileAgain() {
    if (!rows && !unavailable) return;  // not shown
    if (!Pending().changes.empty()) return;
    Reset();
}

// --- The list of the list-driven pages ---

void TemplatePage::keepListOnChosen() {
    if (!chooser || !list) return;
    const QSignalBlocker quiet(list);
    list->setCurrentRow(chooser->Chosen());
}

void TemplatePage::onListChoice(int line) {
    if (!chooser || line < 0 || line == chooser->Chosen()) return;
    // The line shown leaves first, as a tab would.
    if (!OnKillActive()) {
        keepListOnChosen();
        // A mouse press announces the new line before it selects it: once
        // the press is handled, the old line is made the selected one again.
        QTimer::singleShot(0, list, [this] { keepListOnChosen(); });
        return;
    }
    WaitCursor wait;
    built = false;
    chooser->Choose(line);
    UpdateData(false);
    UpdateData(true);
    redraw();
}
