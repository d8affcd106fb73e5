#include "ChangeMark.h"

#include <QLineEdit>
#include <QPainter>
#include <stdexcept>

#include "ChangeSet.h"
#include "Cp1252.h"
#include "DataExchangeContext.h"
#include "Parameter.h"
#include "StringTable.h"
#include "ValueIntake.h"

namespace {

constexpr int kWas = 60100;
constexpr int kEmpty = 60101;
constexpr int kChanged = 60102;

// A small dot in the highlight colour: seen at a glance, in any theme.
class Marker : public QWidget {
public:
    explicit Marker(QWidget* parent) : QWidget(parent) {
        setFocusPolicy(Qt::NoFocus);
        setAccessibleName(FromServerText(LoadString(kChanged)));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Highlight));
        const int side = std::min(width(), height());
        painter.drawEllipse(QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side));
    }
};

// An exchange that only takes values: nothing is shown, checked or refused.
class QuietExchange : public DataExchangeContext {
public:
    bool IsSaving() const override { return false; }
    void PrepareEditCtrl(int) override {}
    std::string GetControlText(int) override { return {}; }
    void SetControlText(int, const std::string&) override {}
    void SetUpperCase(int) override {}
    void ShowMessage(const std::string&, int) override {}
    [[noreturn]] void Fail() override { throw std::logic_error("a quiet exchange refuses nothing"); }
};

void setBold(QWidget* widget, bool bold) {
    if (!widget || widget->font().bold() == bold) return;
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

}  // namespace

ChangeMark::ChangeMark(QWidget* label, QWidget* field) : label(label), field(field) {}

ChangeMark::~ChangeMark() { delete marker.data(); }

void ChangeMark::Show(bool changed, const QString& was) {
    if (!field) return;
    const QString tip = changed ? FromServerText(LoadString(kWas)).replace(QStringLiteral("%1"), was) : QString();
    if (changed == shown && field->toolTip() == tip) return;
    shown = changed;
    setBold(label, changed);
    for (QWidget* widget : {label.data(), field.data()}) {
        if (widget) widget->setToolTip(tip);
    }
    field->setAccessibleDescription(tip);
    if (changed && !marker) marker = new Marker(field->parentWidget());
    if (marker) {
        marker->setToolTip(tip);
        placeMarker();
        marker->setVisible(changed && field->isVisibleTo(field->parentWidget()));
    }
}

void ChangeMark::placeMarker() {
    // In the gap to the right of the field, centred on it.
    const QRect at = field->geometry();
    const int side = std::max(6, field->fontMetrics().height() / 3);
    marker->setGeometry(at.right() + 1 + side / 2, at.center().y() - side / 2, side, side);
}

QString ShownChangeValue(const std::string& key, const std::string& value) {
    const std::string shown = ShownValue(key, value);
    return shown.empty() ? FromServerText(LoadString(kEmpty)) : FromServerText(shown);
}

std::string TypedValue(const QLineEdit& edit, int controlId, Parameter& parameter) {
    QuietExchange quiet;
    std::string text = ToServerTextLossy(edit.text());
    TakeTypedText(quiet, controlId, parameter, text, std::nullopt);
    return parameter.GetValue();
}
