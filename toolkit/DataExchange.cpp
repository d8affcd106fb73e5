#include "DataExchange.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "Cp1252.h"
#include "ServerCharset.h"
#include "StringIds.h"
#include "StringTable.h"
#include "TemplateBuilder.h"
#include "ToolkitApp.h"
#include "TypeSpec.h"

namespace {

// The upper-case style of an edit: letters the user types or pastes become
// capitals; text the program puts in stays as it is. Works on the edited
// span only (the text between the unchanged beginning and end).
class UpperCaseStyle : public QObject {
public:
    explicit UpperCaseStyle(QLineEdit* edit) : QObject(edit), edit(edit), previous(edit->text()) {
        setObjectName(QStringLiteral("upperCaseStyle"));
        // The edit's own text, not the signal's: a change made inside the
        // textEdited handler is followed by the outer, older textChanged.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString&) { previous = this->edit->text(); });
        connect(edit, &QLineEdit::textEdited, this, &UpperCaseStyle::onEdited);
    }

private:
    void onEdited(const QString& text) {
        const QString before = previous;
        qsizetype start = 0;
        while (start < text.size() && start < before.size() && text[start] == before[start]) ++start;
        qsizetype end = text.size();
        qsizetype oldEnd = before.size();
        while (end > start && oldEnd > start && text[end - 1] == before[oldEnd - 1]) {
            --end;
            --oldEnd;
        }
        QString upper = text;
        for (qsizetype i = start; i < end; ++i) {
            // The server's own capitals: what the command line makes of the
            // same letters.
            const int byte = ServerByteOf(upper[i].unicode());
            if (byte >= 0) upper[i] = QChar(ServerCharacterOf(ServerUpperCaseByte(static_cast<unsigned char>(byte))));
        }
        if (upper == text) return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    }

    QLineEdit* edit;
    QString previous;
};

// Whether the user has picked an entry of a drop-down list since it last
// showed a value.
class ChoiceTracker : public QObject {
public:
    explicit ChoiceTracker(QComboBox* combo) : QObject(combo) {
        setObjectName(QStringLiteral("choiceTracker"));
        connect(combo, &QComboBox::activated, this, [this](int) { touched = true; });
    }
    bool touched = false;
};

ChoiceTracker* trackerOf(const QComboBox* combo) {
    return combo ? combo->findChild<ChoiceTracker*>(QStringLiteral("choiceTracker"), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

UpperCaseStyle* styleOf(const QLineEdit* edit) {
    return edit ? edit->findChild<UpperCaseStyle*>(QStringLiteral("upperCaseStyle"), Qt::FindDirectChildrenOnly)
                : nullptr;
}

}  // namespace

void SetUpperCaseStyle(QLineEdit* edit, bool on) {
    if (!edit) return;
    UpperCaseStyle* style = styleOf(edit);
    if (on && !style) new UpperCaseStyle(edit);
    if (!on && style) delete style;
}

bool HasUpperCaseStyle(const QLineEdit* edit) { return styleOf(edit) != nullptr; }

void ShowChoice(QComboBox* combo, const std::string& value) {
    if (!combo) return;
    std::vector<std::string> entries;
    for (int i = 0; i < combo->count(); ++i) entries.push_back(ToServerTextLossy(combo->itemText(i)));
    const int index = ChoiceEntryFor(entries, value);
    if (index >= 0) combo->setCurrentIndex(index);
    ChoiceTracker* tracker = trackerOf(combo);
    if (!tracker) tracker = new ChoiceTracker(combo);
    tracker->touched = false;
}

bool IsChoiceTouched(const QComboBox* combo) {
    const ChoiceTracker* tracker = trackerOf(combo);
    return !tracker || tracker->touched;
}

DataExchange::DataExchange(QWidget* window, bool saving) : window(window), saving(saving) {}

QWidget* DataExchange::Control(int controlId) const {
    const QString name = ControlName(controlId);
    if (name.isEmpty() || !window) return nullptr;
    // A window's own controls come before those of windows inside it.
    if (auto* own = window->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly)) return own;
    return window->findChild<QWidget*>(name);
}

void DataExchange::PrepareEditCtrl(int controlId) { marked = controlId; }

std::string DataExchange::GetControlText(int controlId) {
    QWidget* control = Control(controlId);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return ToServerTextLossy(edit->text());
    if (auto* combo = qobject_cast<QComboBox*>(control)) return ToServerTextLossy(combo->currentText());
    if (auto* label = qobject_cast<QLabel*>(control)) return ToServerTextLossy(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return ToServerTextLossy(button->text());
    return std::string();
}

void DataExchange::SetControlText(int controlId, const std::string& text) {
    auto* edit = qobject_cast<QLineEdit*>(Control(controlId));
    const QString shown = FromServerText(text);
    if (!edit || edit->text() == shown) return;
    edit->setText(shown);
    edit->setCursorPosition(0);
}

void DataExchange::SetUpperCase(int controlId) { SetUpperCaseStyle(qobject_cast<QLineEdit*>(Control(controlId)), true); }

void DataExchange::ShowMessage(const std::string& text, int stringId) { ShowAppMessage(text, MessageType::Ok, stringId); }

void DataExchange::Fail() {
    if (QWidget* control = Control(marked)) {
        control->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->selectAll();
        } else if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit()) {
            combo->lineEdit()->selectAll();
        }
    }
    throw Failure{};
}

void DataExchange::failWithMessage(int stringId) {
    ShowMessage(LoadString(stringId), stringId);
    DataExchange::Fail();
}

std::string DataExchange::takeText(int controlId, const QString& text, bool typed) {
    if (typed && (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))) {
        PrepareEditCtrl(controlId);
        failWithMessage(StringId::IllegalValue);
    }
    std::optional<std::string> bytes = ToServerText(text);
    if (!bytes) {
        PrepareEditCtrl(controlId);
        failWithMessage(StringId::IllegalValue);
    }
    return *bytes;
}

void DataExchange::Text(int controlId, std::string& value) {
    QWidget* control = Control(controlId);
    if (!control) return;
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (saving) {
            value = takeText(controlId, edit->text(), true);
        } else {
            edit->setText(FromServerText(value));
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (saving) {
            value = takeText(controlId, combo->currentText(), combo->isEditable());
        } else if (combo->isEditable()) {
            combo->setEditText(FromServerText(value));
        } else {
            ShowChoice(combo, value);
        }
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        if (saving) {
            value = ToServerTextLossy(label->text());
        } else {
            label->setText(FromServerText(value));
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        if (saving) {
            value = ToServerTextLossy(button->text());
        } else {
            button->setText(FromServerText(value));
        }
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        if (saving) {
            value = ToServerTextLossy(group->title());
        } else {
            group->setTitle(FromServerText(value));
        }
    }
}

void DataExchange::Check(int controlId, int& state) {
    auto* box = qobject_cast<QAbstractButton*>(Control(controlId));
    if (!box) return;
    auto* check = qobject_cast<QCheckBox*>(box);
    if (saving) {
        if (check) {
            state = check->checkState() == Qt::Checked ? 1 : check->checkState() == Qt::PartiallyChecked ? 2 : 0;
        } else {
            state = box->isChecked() ? 1 : 0;
        }
    } else if (check) {
        check->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    } else {
        box->setChecked(state != 0);
    }
}

void DataExchange::ComboText(int controlId, std::string& value) {
    auto* combo = qobject_cast<QComboBox*>(Control(controlId));
    if (!combo) return;
    if (!saving) {
        ShowChoice(combo, value);
        return;
    }
    if (!IsChoiceTouched(combo)) return;
    const int index = combo->currentIndex();
    value = index < 0 ? std::string() : takeText(controlId, combo->itemText(index), false);
}
