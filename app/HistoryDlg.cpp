#include "HistoryDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ChangeMark.h"
#include "ConfigApp.h"
#include "Cp1252.h"
#include "LocalState.h"
#include "ShownText.h"
#include "StoreError.h"
#include "StringIds.h"
#include "StringTable.h"
#include "ToolkitApp.h"
#include "WaitCursor.h"
#include "WriteHistory.h"

namespace {

constexpr int kTitle = 60207;
constexpr int kParameter = 60208;
constexpr int kWas = 60209;
constexpr int kUndo = 60218;
constexpr int kBecame = 60219;
constexpr int kTime = 60214;
constexpr int kProgram = 60215;
constexpr int kFile = 60216;
constexpr int kChanges = 60217;
constexpr int kNoWrites = 60220;
constexpr int kTurnedOff = 60221;
constexpr int kSerial = 60228;
constexpr int kNotKept = 60229;
constexpr int kIntro = 60234;
constexpr int kOverEmptyFile = 60240;
constexpr int kWrites = 60238;
constexpr int kChangesOfWrite = 60239;


QTreeWidget* newList(QWidget* parent, int id, int name, const QStringList& headers) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::number(id));
    list->setAccessibleName(LoadText(name));
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setHeaderLabels(headers);
    return list;
}

// What a write changed, in a line: the names of its parameters.
QString summary(const HistoryEntry& entry) {
    QStringList names;
    for (const Change& change : entry.changes.changes) names << ChangeName(entry.changes.file, change);
    return names.join(QStringLiteral(", "));
}

}  // namespace

HistoryDlg::HistoryDlg(ConfigApp& app, QWidget* parent)
    : QDialog(parent), app(app), intro(new QLabel(this)),
      writes(newList(this, kWritesId, kWrites, {LoadText(kTime), LoadText(kProgram), LoadText(kFile), LoadText(kChanges)})),
      details(new QLabel(this)),
      changes(newList(this, kChangesId, kChangesOfWrite, {LoadText(kParameter), LoadText(kWas), LoadText(kBecame)})),
      undo(new QPushButton(LoadText(kUndo), this)) {
    setWindowTitle(LoadText(kTitle));
    intro->setWordWrap(true);
    intro->setTextFormat(Qt::PlainText);
    intro->setBuddy(writes);
    details->setWordWrap(true);
    details->setTextFormat(Qt::PlainText);
    undo->setObjectName(QString::number(kUndoId));
    undo->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(undo, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(undo, &QPushButton::clicked, this, &HistoryDlg::UndoSelected);
    connect(writes, &QTreeWidget::currentItemChanged, this, &HistoryDlg::showSelected);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(writes, 3);
    layout->addWidget(details);
    layout->addWidget(changes, 2);
    layout->addWidget(buttons);
    SizeForLines(this, 110, 30);  // room for its lines at any font
    Refresh();
    writes->setFocus();
}

void HistoryDlg::Refresh() {
    WaitCursor wait;
    const std::string address = app.GetHistoryAddress();
    QString said = LoadText(kIntro).arg(QString::fromStdString(ShownName(address)));
    if (!KeepsLocalState()) said += QLatin1Char(' ') + LoadText(kTurnedOff);
    entries.clear();
    try {
        entries = History(address).Entries();
    } catch (const StoreError& error) {
        said += QLatin1Char(' ') + QString::fromStdString(ShownName(error.Detail()));
    }
    if (entries.empty()) said += QLatin1Char(' ') + LoadText(kNoWrites);
    intro->setText(said);
    writes->clear();
    for (const HistoryEntry& entry : entries) {
        new QTreeWidgetItem(writes, {ShownTime(entry.time), QString::fromStdString(ShownName(entry.program)),
                                     QString::fromStdString(ShownName(entry.changes.file)), summary(entry)});
    }
    for (int column = 0; column + 1 < writes->columnCount(); ++column) writes->resizeColumnToContents(column);
    if (!entries.empty()) writes->setCurrentItem(writes->topLevelItem(0));
    showSelected();
}

const HistoryEntry* HistoryDlg::selected() const {
    const int at = writes->indexOfTopLevelItem(writes->currentItem());
    return at >= 0 && at < static_cast<int>(entries.size()) ? &entries[at] : nullptr;
}

void HistoryDlg::showSelected() {
    changes->clear();
    const HistoryEntry* entry = selected();
    details->setVisible(entry != nullptr);
    undo->setEnabled(entry != nullptr);
    if (!entry) return;
    QString said = LoadText(kSerial).arg(ShownSerial(entry->serial));
    if (!entry->kept) said += QLatin1Char(' ') + LoadText(kNotKept);
    try {
        // A write over an empty file (a restore) has no values before it to set back.
        if (History(app.GetHistoryAddress()).BytesBefore(entry->id).empty()) {
            undo->setEnabled(false);
            said += QLatin1Char(' ') + LoadText(kOverEmptyFile);
        }
    } catch (const StoreError&) {
        undo->setEnabled(false);  // its bytes are gone: nothing can be told of it
    }
    details->setText(said);
    for (const Change& change : entry->changes.changes) {
        new QTreeWidgetItem(changes, {ChangeName(entry->changes.file, change), ShownChangeValue(change.key, change.oldValue),
                                      ShownChangeValue(change.key, change.newValue)});
    }
    for (int column = 0; column < changes->columnCount(); ++column) changes->resizeColumnToContents(column);
}

void HistoryDlg::UndoSelected() {
    const HistoryEntry* entry = selected();
    if (!entry) return;
    const int newest = entries.front().id;
    const UndoOutcome outcome = UndoWrite(app, *entry);
    if (outcome == UndoOutcome::Restarting) {
        undone = true;
        return reject();  // the program ends
    }
    // A write whose reading back failed is recorded all the same.
    Refresh();
    undone = undone || outcome == UndoOutcome::Written || (!entries.empty() && entries.front().id != newest);
    writes->setFocus();
}
