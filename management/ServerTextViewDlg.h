#pragma once

#include "Dialog.h"

class ServerTextList;

// The server's statistics or its event log, line by line as the server wrote
// them, in a modal window. The report is read each time the window opens;
// when it cannot be read the user is told and the window does not open.
// Help shows the topic of the management sheet's General page.
class ServerTextViewDlg : public Dialog {
    Q_OBJECT
public:
    static constexpr int kListId = 1092;

    ServerTextViewDlg(bool statisticsMode, QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnHelp() override;

    bool IsStatisticsMode() const { return statisticsMode; }
    ServerTextList* List() const { return list; }

private:
    bool statisticsMode;
    ServerTextList* list = nullptr;
};
