#include "ChangeMark.h"

#include <QLabel>
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

constexpr int kWas = 60200;
constexpr int kEmpty = 60201;
constexpr int kChanged = 60202;

// A small triangle in the highlight colour, pointing at the field: seen at
// a glance, in any theme, and never taken for a mark of a field beside.
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
        const QPolygonF arrow({QPointF(width(), 0), QPointF(width(), height()), QPointF(0, height() / 2.0)});
        painter.drawPolygon(arrow);
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

// The label's font in bold, condensed as far as needed (down to 85 %) to
// keep its text within the label's width.
QFont boldFitting(QWidget* label, const QFont& plain) {
    QFont bold = plain;
    bold.setBold(true);
    auto* text = qobject_cast<QLabel*>(label);
    const QString shown = text ? QString(text->text()).remove(QLatin1Char('&')) : QString();
    for (int stretch = 100; stretch >= 85; stretch -= 5) {
        bold.setStretch(stretch);
        label->setFont(bold);
        const bool fits = text ? QFontMetrics(bold).horizontalAdvance(shown) <= text->contentsRect().width()
                               : label->sizeHint().width() <= label->width();
        if (fits) break;
    }
    return bold;
}

}  // namespace

ChangeMark::ChangeMark(QWidget* label, QWidget* field)
    : label(label), field(field), plain(label ? label->font() : QFont()) {}

ChangeMark::~ChangeMark() { delete marker.data(); }

void ChangeMark::Show(bool changed, const QString& was) {
    if (!field) return;
    const QString tip = changed ? FromServerText(LoadString(kWas)).replace(QStringLiteral("%1"), was) : QString();
    if (changed == shown && field->toolTip() == tip) return;
    shown = changed;
    if (label) label->setFont(changed ? boldFitting(label, plain) : plain);
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
    const int height = std::max(8, field->fontMetrics().height() * 3 / 5);
    marker->setGeometry(at.right() + 2, at.center().y() - height / 2, height * 2 / 3, height);
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
