#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>

class Parameter;
class QLineEdit;

// The mark of a field whose value differs from the one read: a marker drawn
// beside the field, its label in bold (condensed where the bold text would
// not fit), and the value read in the tool tips
// and in the field's accessible description ("Was: 192.168.1.50"). The
// label's text stays as it is.
class ChangeMark {
public:
    // label: the widget that names the field (a label, or the check box of
    // a row), or nullptr.
    ChangeMark(QWidget* label, QWidget* field);
    ChangeMark(const ChangeMark&) = delete;
    ChangeMark& operator=(const ChangeMark&) = delete;
    ~ChangeMark();

    // Marks the field (was: the value read, as Shown gives it) or removes the mark.
    void Show(bool changed, const QString& was);
    bool IsShown() const { return shown; }

private:
    void placeMarker();

    QPointer<QWidget> label;
    QPointer<QWidget> field;
    QPointer<QWidget> marker;
    QFont plain;  // the label's own font
    bool shown = false;
};

// A value of parameter key as the windows show a change: passwords masked,
// "(empty)" for an empty value.
QString ShownChangeValue(const std::string& key, const std::string& value);

// The value a Submit would take from an edit's text for parameter: its
// canonical form, trimmed; not checked, and the edit left as it is.
std::string TypedValue(const QLineEdit& edit, int controlId, Parameter& parameter);
