#pragma once

#include <string>

#include "Dialog.h"

// A small form in which the user types one value for a choice list entry:
// a NetWare address of the form XX-XX-XX-XX, or a list of server names
// separated by commas.
class FormTextDlg : public Dialog {
    Q_OBJECT
public:
    enum Mode { ServerList = 0, NetWareAddress = 1 };

    static constexpr int kTextId = 1250;
    static constexpr int kNameId = 1251;
    static constexpr int kPromptId = 1257;

    // name is the parameter's display name, in the server's character set.
    FormTextDlg(const std::string& name, Mode mode, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    void OnCancel() override;

    // The entered text, blanks trimmed; false when nothing but blanks (or
    // nothing at all) was entered, or the dialog was cancelled.
    bool GetText(std::string& text) const;
    Mode GetMode() const { return mode; }

private:
    Mode mode;
    std::string text;
    std::string name;
    std::string prompt;
};
