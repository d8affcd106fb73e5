#pragma once

#include <QFont>
#include <QString>

#include "DialogTemplates.h"
#include "DialogUnits.h"

class QLineEdit;
class QWidget;

// Turns a dialog template into widgets. Every control becomes a child of the
// given parent at its rectangle converted from dialog units, carries its
// numeric ID as its objectName ("1116") and is created in template order, so
// the tab order is the template's. Windows normally get this through
// TemplateHost; the pages use the single-control helpers for generated rows.

// The objectName of a control ID ("" for NoControlId).
QString ControlName(int controlId);

// Creates one control from its template entry.
QWidget* CreateTemplateControl(QWidget* parent, const ControlTemplate& control, const DialogUnits& units);

// Creates all controls of the template and sizes the parent to it.
void BuildTemplate(QWidget* parent, const DialogTemplate& dialog, const DialogUnits& units);

// A copy of font whose line height is at most cellHeight pixels (templates
// give font sizes as cell heights), with the given weight.
QFont FontWithCellHeight(const QFont& font, int cellHeight, bool bold);

// Shows the edit, whenever it is read-only, in the style's read-only look:
// the background of the window instead of that of a field to type in, so it
// does not invite typing it would not take. Follows every later change of
// its read-only state.
void FollowReadOnlyLook(QLineEdit* edit);
