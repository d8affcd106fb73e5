#include "PendingChangesDlg.h"

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
#include "ShownText.h"
#include "StoreError.h"
#include "StringIds.h"
#include "StringTable.h"
#include "ToolkitApp.h"
#include "WaitCursor.h"

namespace {

constexpr int kTitle = 60206;
constexpr int kParameter = 60208;
constexpr int kWas = 60209;
constexpr int kWillBe = 60210;
constexpr int kRevert = 60211;
constexpr int kNothing = 60213;
constexpr int kWhatSubmitWrites = 60232;
constexpr int kNoParameters = 60233;


}  // namespace

PendingChangesDlg::PendingChangesDlg(ChangeSource* source, QWidget* parent)
    : QDialog(parent), source(source), intro(new QLabel(this)), list(new QTreeWidget(this)),
      revert(new QPushButton(LoadText(kRevert), this)) {
    setWindowTitle(LoadText(kTitle));
    intro->setWordWrap(true);
    intro->setTextFormat(Qt::PlainText);
    list->setObjectName(QString::number(kListId));
    list->setAccessibleName(LoadText(kTitle));
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setHeaderLabels({LoadText(kParameter), LoadText(kWas), LoadText(kWillBe)});
    list->header()->setSectionResizeMode(QHeaderView::Interactive);
    intro->setBuddy(list);
    revert->setObjectName(QString::number(kRevertId));
    revert->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(revert, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(revert, &QPushButton::clicked, this, &PendingChangesDlg::RevertSelected);
    connect(list, &QTreeWidget::currentItemChanged, this, &PendingChangesDlg::updateButtons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(list);
    layout->addWidget(buttons);
    SizeForLines(this, 90, 18);  // room for its lines at any font
    Refresh();
    list->setFocus();
}

void PendingChangesDlg::Refresh() {
    WaitCursor wait;
    const int at = std::max(0, list->indexOfTopLevelItem(list->currentItem()));
    list->clear();
    pending = {};
    try {
        if (source) pending = source->Pending();
    } catch (const StoreError& error) {
        ConfigApp::Get().ReportFailure(StringId::NoCommunication, error);
    }
    for (const ChangeSource::PendingChange& line : pending.changes) {
        const Change& change = line.change;
        auto* item = new QTreeWidgetItem(list, {FromServerText(line.name), ShownChangeValue(change.key, change.oldValue),
                                                ShownChangeValue(change.key, change.newValue)});
        item->setToolTip(0, FromServerText(change.section.empty() ? change.key : change.section + "/" + change.key));
    }
    if (!source) {
        intro->setText(LoadText(kNoParameters));
    } else if (pending.changes.empty()) {
        intro->setText(LoadText(kNothing));
    } else {
        intro->setText(LoadText(kWhatSubmitWrites).arg(QString::fromStdString(ShownName(pending.file))));
    }
    for (int column = 0; column < list->columnCount(); ++column) list->resizeColumnToContents(column);
    if (list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(std::min(at, list->topLevelItemCount() - 1)));
    updateButtons();
}

void PendingChangesDlg::RevertSelected() {
    const int at = list->indexOfTopLevelItem(list->currentItem());
    if (!source || at < 0 || at >= static_cast<int>(pending.changes.size()) || !pending.changes[at].revertible) return;
    source->Revert(pending.changes[at].change);
    Refresh();
    list->setFocus();
}

void PendingChangesDlg::updateButtons() {
    const int at = list->indexOfTopLevelItem(list->currentItem());
    revert->setEnabled(at >= 0 && at < static_cast<int>(pending.changes.size()) && pending.changes[at].revertible);
}
