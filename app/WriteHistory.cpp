#include "WriteHistory.h"

#include <QDateTime>
#include <QStringList>

#include "Catalogue.h"
#include "ChangeHistory.h"
#include "ChangeMark.h"
#include "ConfigApp.h"
#include "Cp1252.h"
#include "ShownText.h"
#include "StoreError.h"
#include "StringIds.h"
#include "StringTable.h"
#include "SubmitPlan.h"
#include "TextRules.h"
#include "WaitCursor.h"

namespace {

constexpr int kUndoRefused = 60223;
constexpr int kNothingToUndo = 60224;
constexpr int kAskUndo = 60225;
constexpr int kOfferRestore = 60226;
constexpr int kRestored = 60227;
constexpr int kChangeLine = 60235;
constexpr int kConflictLine = 60236;
constexpr int kUnknown = 60237;

QString fileName(const std::string& file) { return QString::fromStdString(ShownName(file)); }

// One line a change, by pattern (%1 the name, %2 and %3 the values).
QString lines(const std::string& file, const std::vector<Change>& changes, int pattern) {
    QStringList out;
    for (const Change& change : changes) {
        out << LoadText(pattern).arg(ChangeName(file, change), ShownChangeValue(change.key, change.oldValue),
                                 ShownChangeValue(change.key, change.newValue));
    }
    return out.join(QLatin1Char('\n'));
}

// Writes an undo's plan, records it and reads it back as a page's submit.
UndoOutcome writeUndo(ConfigApp& app, SubmitPlan& plan, CatalogueKind kind) {
    const ChangeSet changes = plan.Changes();
    plan.Write();
    if (plan.AsksRestart()) {
        // It carried a factory reset the file asked for: the server goes away.
        app.RecordWrite(changes, plan.BytesBefore(), plan.BytesAfter(), true);
        app.ShowMessage(StringId::ServerRestarting);
        app.SetParametersChanged(false);
        app.EndProgram();
        return UndoOutcome::Restarting;
    }
    bool kept = false;
    try {
        ParameterHandler back;
        back.Load(app.GetShare(), changes.file, CatalogueOf(kind));
        kept = plan.ConfirmedBy(back);
    } catch (const StoreError&) {
        app.RecordWrite(changes, plan.BytesBefore(), plan.BytesAfter(), false);
        throw;
    }
    app.RecordWrite(changes, plan.BytesBefore(), plan.BytesAfter(), kept);
    app.ShowMessage(kept ? SubmitPlan::SuccessMessage(kind) : StringId::Unsuccessful);
    if (kept && kind == Configuration) app.SetParametersChanged(true);
    return UndoOutcome::Written;
}

// Writes bytes over the empty file and records it; true when the server
// holds them.
bool writeBack(ConfigApp& app, const std::string& file, const std::string& bytes) {
    const SharePtr& share = app.GetShare();
    const std::string path = share->PathOf(file);  // never a file outside the share
    if (bytes.empty()) throw StoreError(path, "the history kept no bytes of that write");
    share->Replace(path, std::string(), bytes);
    ParameterHandler restored;
    restored.ReadText(bytes);
    const ChangeSet changes{file, ChangesBetween(ParameterHandler(), restored)};
    bool kept = false;
    try {
        kept = RestoreConfirmedBy(share->Read(path), bytes, CatalogueOf(KindOfPath(file)));
    } catch (const StoreError&) {
        app.RecordWrite(changes, std::string(), bytes, false);
        throw;
    }
    app.RecordWrite(changes, std::string(), bytes, kept);
    return kept;
}

}  // namespace

QString ChangeName(const std::string& file, const Change& change) {
    const CatalogueKind kind = KindOfPath(file);
    std::span<const CatalogueRow> rows;
    if (kind == Configuration) rows = ConfigurationCatalogueRows();
    if (kind == VolumeRights) rows = VolumeRightsCatalogueRows();
    QString name = FromServerText(change.key);
    for (const CatalogueRow& row : rows) {
        if (row.key && change.section == row.section && change.key == row.key) {
            if (const std::string known = LoadString(row.id); !known.empty()) name = FromServerText(known);
            break;
        }
    }
    return change.section.empty() ? name : name + QStringLiteral(" [") + FromServerText(change.section) + ']';
}

QString ShownTime(const std::string& time) {
    const QDateTime when = QDateTime::fromString(QString::fromStdString(time), Qt::ISODate);
    if (!when.isValid()) return QString::fromStdString(EscapeControls(NameText(time)));
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString ShownSerial(const std::string& serial) {
    const std::string trimmed = TrimWhiteSpace(serial);
    return trimmed.empty() ? LoadText(kUnknown) : FromServerText(trimmed);
}

UndoOutcome UndoWrite(ConfigApp& app, const HistoryEntry& entry) {
    WaitCursor wait;
    const std::string& file = entry.changes.file;
    const CatalogueKind kind = KindOfPath(file);
    try {
        ParameterHandler now;
        now.Load(app.GetShare(), file, CatalogueOf(kind));
        const UndoPlan undo = PlanUndo(entry, now);
        if (!undo.conflicts.empty()) {
            app.ShowComposed(LoadText(kUndoRefused).arg(lines(file, undo.conflicts, kConflictLine)),
                             MessageType::Ok | MessageType::IconExclamation, kUndoRefused);
            return UndoOutcome::NotWritten;
        }
        if (undo.edits.empty()) {
            app.ShowMessage(kNothingToUndo, MessageType::Ok | MessageType::IconInformation);
            return UndoOutcome::NotWritten;
        }
        const QString question =
            LoadText(kAskUndo).arg(fileName(file), ShownTime(entry.time), lines(file, undo.edits, kChangeLine));
        if (app.ShowComposed(question, MessageType::YesNo | MessageType::IconQuestion, kAskUndo) != MessageResult::Yes) {
            return UndoOutcome::NotWritten;
        }
        SubmitPlan plan = UndoSubmit(now, undo);
        if (!app.ConfirmQuestions(plan.Questions())) return UndoOutcome::NotWritten;
        return writeUndo(app, plan, kind);
    } catch (const FileChangedMeanwhile& error) {
        app.ReportFailure(StringId::Unsuccessful, error);
    } catch (const StoreError& error) {
        app.ReportFailure(StringId::NoCommunication, error);
    }
    return UndoOutcome::NotWritten;
}

bool OfferRestore(ConfigApp& app, const std::string& path) {
    std::string file;
    try {
        file = app.GetShare()->NameOf(path);
    } catch (const StoreError&) {
        return false;
    }
    const std::optional<HistoryEntry> last = LastWriteOf(app.GetHistoryAddress(), file);
    if (!last) return false;
    const QString offer = LoadText(kOfferRestore).arg(fileName(file), ShownTime(last->time), ShownSerial(last->serial));
    if (app.ShowComposed(offer, MessageType::YesNo | MessageType::IconQuestion, kOfferRestore) != MessageResult::Yes) {
        return false;
    }
    WaitCursor wait;
    try {
        if (!writeBack(app, file, History(app.GetHistoryAddress()).BytesAfter(last->id))) {
            app.ShowMessage(StringId::Unsuccessful);
            return false;
        }
        app.ShowComposed(LoadText(kRestored).arg(fileName(file), ShownTime(last->time)),
                         MessageType::Ok | MessageType::IconInformation, kRestored);
        return true;
    } catch (const FileChangedMeanwhile& error) {
        app.ReportFailure(StringId::Unsuccessful, error);
    } catch (const StoreError& error) {
        app.ReportFailure(StringId::NoCommunication, error);
    }
    return false;
}
