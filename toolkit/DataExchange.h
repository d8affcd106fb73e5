#pragma once

#include <QString>

#include <string>

#include "DataExchangeContext.h"
#include "ParameterValidation.h"

class QComboBox;
class QLineEdit;
class QWidget;

// One data exchange between a window's controls and its data, in one
// direction. Windows implement TemplateHost::DoDataExchange with the helpers
// below; UpdateData runs it and reports a failed check as false. Controls are
// found below the given window by their ID (objectName). The value checks of
// the store see it as a DataExchangeContext.
//
// Server text travels through the Windows-1252 mapping: a typed character
// without a byte there, or a line break, fails the exchange with message 1022
// (it could not be written to the server's file).
class DataExchange : public DataExchangeContext {
public:
    // The toolkit's failure: thrown by Fail, caught by UpdateData.
    struct Failure {};

    DataExchange(QWidget* window, bool saving);

    bool IsSaving() const override { return saving; }
    void PrepareEditCtrl(int controlId) override;
    std::string GetControlText(int controlId) override;
    // An edit shows the text from its beginning; other controls stay.
    void SetControlText(int controlId, const std::string& text) override;
    void SetUpperCase(int controlId) override;
    void ShowMessage(const std::string& text, int stringId) override;
    // Gives the marked control the focus (an edit with its text selected),
    // then throws Failure.
    [[noreturn]] void Fail() override;

    QWidget* Window() const { return window; }
    // The control with that ID below the window, or nullptr.
    QWidget* Control(int controlId) const;

    // Text of an edit, label, button, group box or editable combo box.
    void Text(int controlId, std::string& value);
    // State of a check box: 0 clear, 1 ticked, 2 indeterminate.
    void Check(int controlId, int& state);
    // A drop-down list by text: loading shows the value (ShowChoice);
    // saving takes the text of the entry the user picked since, and leaves
    // the value as it is when the user picked none.
    void ComboText(int controlId, std::string& value);

private:
    [[noreturn]] void failWithMessage(int stringId);
    std::string takeText(int controlId, const QString& text, bool typed);

    QWidget* window;
    bool saving;
    int marked = 0;
};

// Shows value in a drop-down list: the entry exactly equal to it, else the
// first beginning with it (letter case ignored), else the selection stays.
// The list counts as untouched until the user picks an entry, and an
// untouched list gives back the value unchanged: showing a value never
// changes it.
void ShowChoice(QComboBox* combo, const std::string& value);
// True once the user picked an entry since the list last showed a value.
bool IsChoiceTouched(const QComboBox* combo);

// Turns the upper-case style of an edit on or off: typed and pasted letters
// become capitals; text put in by the program stays as it is.
void SetUpperCaseStyle(QLineEdit* edit, bool on);
bool HasUpperCaseStyle(const QLineEdit* edit);
