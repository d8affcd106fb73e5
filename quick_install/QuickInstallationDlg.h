#pragma once

#include <array>
#include <memory>
#include <string>

#include "ChangeSource.h"
#include "Dialog.h"
#include "ParameterHandler.h"
#include "Tool.h"

class ChangeMark;
class SubmitPlan;

// The one-page form that brings a new server onto the network: the dozen
// settings of the configuration file that matter for that (addresses, names,
// passwords, NDS). Changed values are checked before anything is written;
// the submit goes through a SubmitPlan of the form's settings and counts only
// when reading the file back finds every value as sent. Settings the file
// lacks are hidden with their labels.
//
// The main window embeds it as its tool. Construction reads the
// configuration file and raises FileException when it cannot.
class QuickInstallationDlg : public ChildDialog, public Tool, public ChangeSource {
    Q_OBJECT
public:
    static constexpr int kSubmitId = 1067;
    static constexpr int kResetId = 1068;
    static constexpr int kNdsInstallId = 1287;

    // One setting of the form: its control and label, where the file keeps
    // it, and what the form does with it.
    struct Field {
        int control;
        int label;
        const char* section;
        const char* key;
        bool upperCaseStyle;  // typed letters become capitals from the start
    };
    static constexpr int kFieldCount = 12;
    // In the order of the data exchange; the NDS install list comes last.
    static const std::array<Field, kFieldCount> kFields;

    explicit QuickInstallationDlg(QWidget* parent);
    ~QuickInstallationDlg() override;

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool OnCommand(int commandId) override;
    // Checks the values; with changes asks whether to submit them first.
    bool CanLeave() override;
    ChangeSource* ShownChanges() override { return this; }

    PendingChanges Pending() override;
    void Revert(const Change& change) override;
    void ShowFileAgain() override;

    void OnSubmit();
    void OnReset();

    // Some value differs from the one last loaded or submitted.
    bool IsChanged() const;

private:
    static constexpr int kNdsInstall = kFieldCount - 1;
    static constexpr int kNdsAdminPassword = kFieldCount - 2;

    void LoadSettings();
    void RememberSettings();
    void ShowAvailableFields();
    // Writes the settings the file held when the form read them; answers
    // the plan that judges the file read back.
    SubmitPlan SaveSettings();
    bool VerifySettings(const SubmitPlan& plan);
    void exchangeField(DataExchange& exchange, int field);
    void fillNdsInstallList();
    void fitLabels();
    // A field's value as it shows it now, as a submit takes it (unchecked).
    std::string shownValue(int field);
    bool fieldChanged(int field);
    void createMarks();
    void updateMarks();

    ParameterHandler store;
    std::array<std::string, kFieldCount> current;
    std::array<std::string, kFieldCount> loaded;
    std::array<bool, kFieldCount> available{};
    std::array<std::unique_ptr<ChangeMark>, kFieldCount> marks;
    bool submitted = false;
};
