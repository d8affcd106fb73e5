#include "TemplateBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "Cp1252.h"
#include "Images.h"

QString ControlName(int controlId) {
    return controlId == NoControlId ? QString() : QString::number(controlId);
}

QFont FontWithCellHeight(const QFont& font, int cellHeight, bool bold) {
    QFont sized(font);
    sized.setBold(bold);
    int pixels = cellHeight;
    sized.setPixelSize(pixels);
    while (pixels > 6 && QFontMetrics(sized).height() > cellHeight) {
        sized.setPixelSize(--pixels);
    }
    return sized;
}

namespace {

class ReadOnlyLook : public QObject {
public:
    explicit ReadOnlyLook(QLineEdit* edit) : QObject(edit), edit(edit) {
        setObjectName(QStringLiteral("readOnlyLook"));
        edit->installEventFilter(this);
        apply();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ReadOnlyChange) apply();
        return false;
    }

private:
    void apply() {
        const QPalette standard = QApplication::palette(edit);
        const QPalette::ColorRole background = edit->isReadOnly() ? QPalette::Window : QPalette::Base;
        QPalette palette = edit->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setBrush(group, QPalette::Base, standard.brush(group, background));
        }
        edit->setPalette(palette);
    }

    QLineEdit* edit;
};

QWidget* createWidget(QWidget* parent, const ControlTemplate& control, const DialogUnits& units) {
    const QString text = FromServerText(control.text);
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::ImageButton: {
        auto* button = new QPushButton(text, parent);
        button->setDefault(control.Has(Default));
        if (control.kind == ControlKind::ImageButton) {
            button->setIcon(ImageIcon(control.imageId));
            const int side = units.Y(control.height) * 2 / 3;
            button->setIconSize(QSize(side, side));
        }
        return button;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(parent);
        // Texts may come from the server: never interpret them as markup.
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        label->setWordWrap(!text.contains(QLatin1Char('\n')));
        Qt::Alignment horizontal = Qt::AlignLeft;
        if (control.Has(Centre)) horizontal = Qt::AlignHCenter;
        if (control.Has(Right)) horizontal = Qt::AlignRight;
        label->setAlignment(horizontal | Qt::AlignTop);
        if (control.Has(Sunken)) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return label;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setReadOnly(control.Has(ReadOnly));
        FollowReadOnlyLook(edit);
        return edit;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::DropList: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);
        return combo;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(control.Has(NoSelect) ? QAbstractItemView::NoSelection
                                                      : QAbstractItemView::SingleSelection);
        list->setHorizontalScrollBarPolicy(control.Has(HScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setUniformItemSizes(true);
        if (!control.Has(Border)) list->setFrameShape(QFrame::NoFrame);
        return list;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(text, parent);
    case ControlKind::Image:
        return new ImageWidget(control.imageId, parent);
    case ControlKind::Icon: {
        auto* icon = new QLabel(parent);
        const QSize size = units.Size(control.width, control.height);
        const int side = std::min(size.width(), size.height());
        icon->setPixmap(ImageIcon(control.imageId).pixmap(QSize(side, side), parent->devicePixelRatioF()));
        return icon;
    }
    case ControlKind::Frame: {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(control.Has(Sunken) ? (QFrame::StyledPanel | QFrame::Sunken) : QFrame::NoFrame);
        return frame;
    }
    }
    return new QWidget(parent);
}

}  // namespace

void FollowReadOnlyLook(QLineEdit* edit) {
    if (edit && !edit->findChild<ReadOnlyLook*>(QStringLiteral("readOnlyLook"), Qt::FindDirectChildrenOnly)) {
        new ReadOnlyLook(edit);
    }
}

QWidget* CreateTemplateControl(QWidget* parent, const ControlTemplate& control, const DialogUnits& units) {
    QWidget* widget = createWidget(parent, control, units);
    widget->setObjectName(ControlName(control.id));
    QRect rect = units.Rect(control.x, control.y, control.width, control.height);
    if (control.kind == ControlKind::DropList) {
        // The template height includes the dropped-down list; the closed
        // control is as high as its selection field.
        rect.setHeight(std::min(rect.height(), widget->sizeHint().height()));
    }
    if (control.Has(Bold) || control.fontHeight > 0) {
        const int cell = control.fontHeight > 0 ? units.ReferenceY(control.fontHeight) : QFontMetrics(widget->font()).height();
        widget->setFont(FontWithCellHeight(widget->font(), cell, control.Has(Bold)));
    }
    widget->setGeometry(rect);
    widget->setEnabled(!control.Has(Disabled));
    if (control.Has(Hidden)) widget->hide();
    return widget;
}

void BuildTemplate(QWidget* parent, const DialogTemplate& dialog, const DialogUnits& units) {
    // A field is named by the label written just before it in the template,
    // as a screen reader says it ("Internet Address, edit"); the label's
    // buddy relation keeps the name when the program changes the label.
    QLabel* previousLabel = nullptr;
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = CreateTemplateControl(parent, control, units);
        if (!control.Has(Hidden)) widget->show();
        const bool field = control.kind == ControlKind::Edit || control.kind == ControlKind::DropList ||
                           control.kind == ControlKind::ListBox;
        if (field && previousLabel) previousLabel->setBuddy(widget);
        // Buttons and check boxes are named by the text they show, whatever
        // the program later makes it: they get no name of their own.
        // Inside the main window, Enter presses no button: none may look
        // like the one it would.
        if (auto* button = qobject_cast<QPushButton*>(widget); button && dialog.style == TemplateStyle::Child) {
            button->setAutoDefault(false);
        }
        previousLabel = control.kind == ControlKind::Label && !control.Has(Hidden) ? qobject_cast<QLabel*>(widget)
                                                                                    : nullptr;
    }
    parent->resize(units.Size(dialog.width, dialog.height));
}
