#include "ControlHandler.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include "RowLayout.h"

namespace {

// Turns typed letters into capitals. A letter whose capital is more than one
// character, or one outside the server's character set, is left as typed so
// the value can still be written.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (QChar& c : input) {
            const QChar upper = c.toUpper();
            if (upper != c && (upper.unicode() < 0x100 || isInServerSet(upper.unicode()))) c = upper;
        }
        return Acceptable;
    }

private:
    // The few capitals above U+00FF that the server's character set holds.
    static bool isInServerSet(char16_t c) { return c == 0x0160 || c == 0x0152 || c == 0x017D || c == 0x0178; }
};

const char* const kUpperCaseName = "upperCaseStyle";

QRect edges(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

}  // namespace

QLineEdit* ControlHandler::CreateEdit(QWidget* parent, const QFont& font, int id, int x, int y, int width,
                                      int height) const {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setFont(font);
    edit->setGeometry(x, y, width, height);
    edit->show();
    return edit;
}

QLabel* ControlHandler::CreateStatic(QWidget* parent, const QFont& font, int id, const QString& text, int left,
                                     int top, int right, int bottom) const {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::number(id));
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(edges(left, top, right, bottom));
    label->show();
    return label;
}

QCheckBox* ControlHandler::CreateCheckBox(QWidget* parent, const QFont& font, int id, const QString& text,
                                          int left, int top, int right, int bottom) const {
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(QString::number(id));
    check->setFont(font);
    check->setFocusPolicy(Qt::StrongFocus);
    check->setGeometry(edges(left, top, right, bottom));
    check->show();
    return check;
}

QComboBox* ControlHandler::CreateComboBox(QWidget* parent, const QFont& font, int id, int left, int top, int right,
                                          int bottom) const {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::number(id));
    combo->setFont(font);
    combo->setEditable(false);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->setGeometry(edges(left, top, right, bottom));
    combo->show();
    return combo;
}

void ControlHandler::FitComboHeight(QComboBox* combo, int entries) const {
    combo->setMaxVisibleItems(RowLayout::ComboDropRows(entries));
}

void ControlHandler::SetUpperCase(QLineEdit* edit, bool upper) {
    if (upper == IsUpperCase(edit)) return;
    if (upper) {
        auto* validator = new UpperCaseValidator(edit);
        validator->setObjectName(kUpperCaseName);
        edit->setValidator(validator);
    } else {
        QValidator* old = const_cast<QValidator*>(edit->validator());
        edit->setValidator(nullptr);
        delete old;
    }
}

bool ControlHandler::IsUpperCase(const QLineEdit* edit) {
    return edit->validator() && edit->validator()->objectName() == kUpperCaseName;
}
