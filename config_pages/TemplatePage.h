#pragma once

#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChangeSource.h"
#include "ControlHandler.h"
#include "ListChooser.h"
#include "PageRows.h"
#include "PageMode.h"
#include "RowLayout.h"
#include "ParameterHandler.h"
#include "PropertyPage.h"
#include "ScrollPane.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class DataExchange;
class SubmitPlan;

// A tab whose rows are generated from the parameters of one section: a label
// and a value control per parameter, chosen by the parameter's type word. It
// reloads its file every time it becomes active, builds its rows on the first
// data exchange after that, checks changed values before it submits them,
// and confirms a submit by reading the file back from the server. What a
// Submit would write is known before it (Pending), and each row whose value
// differs from the one read is marked.
//
// Configuration pages show one slice of one section of the configuration
// file; the volume rights and SCSI drive pages show a file or section chosen
// from a list beside the rows.
class TemplatePage : public PropertyPage, public ChangeSource {
    Q_OBJECT
public:
    static constexpr int kSubmitId = 1116;
    static constexpr int kResetId = 1117;
    static constexpr int kUnsupportedMarkId = 1242;
    static constexpr int kFrameId = 1255;
    static constexpr int kListId = 1192;
    static constexpr int kHiddenListId = 1253;
    static constexpr int kLabelBaseId = PageRows::kLabelBaseId;
    static constexpr int kValueBaseId = PageRows::kValueBaseId;
    static constexpr int kCheckBaseId = PageRows::kCheckBaseId;

    // Built on template 169; an owner that shows a list-driven page switches
    // it to template 170 (SetTemplateId) before the page is first shown.
    explicit TemplatePage(QWidget* parent = nullptr);
    ~TemplatePage() override;

    // Sets up the page for a slice of a section (configuration pages) or for
    // a list-driven mode. Clears every flag and names the buttons after the
    // title; the title becomes the tab text.
    void Initialise(const std::string& title, int sectionIndex, PageMode mode, int first, int count);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void DoDataExchange(DataExchange& exchange) override;
    bool OnCommand(int commandId) override;

    // Submit and reset, as the buttons run them.
    void Submit();
    void Reset();

    PendingChanges Pending() override;
    void Revert(const Change& change) override;
    void ShowFileAgain() override;

    // A store of the page's file read a moment ago, for the page's next
    // loading instead of reading the file again (configuration pages).
    void UseStoreOnce(ParameterHandler handler) { readAlready = std::move(handler); }

    // Rows shown: the working section's parameters (at most nine on the SCSI
    // drive page, with a warning once).
    int RowCount();
    // Removes the generated rows; the next exchange builds them again.
    void TearDown();

    // What the page holds now; for the owner and for tests.
    const std::string& GetPageTitle() const { return title; }
    PageMode GetMode() const { return mode; }
    int GetFirst() const { return first; }
    int GetCount() const { return count; }
    int GetSectionIndex() const { return sectionIndex; }
    const ParameterSection& Loaded() const { return loaded; }
    const ParameterSection& Working() const { return working; }
    bool IsBuilt() const { return built; }
    bool IsUnavailable() const { return unavailable; }
    bool SubmitSucceeded() const { return submitSucceeded; }
    ScrollPane* Pane() const;
    QWidget* LabelAt(int row) const;
    QWidget* ValueAt(int row) const;
    QCheckBox* CheckAt(int row) const;

    // The help topic of a page whose section carries this title string.
    static int HelpContextFor(int titleId, const std::string& serverVersion);

protected:
    // Reads the page's parameters from the server into the store and the
    // loaded and working sections. Raises FileException.
    virtual void LoadPageData();

private:
    void buildIfNeeded();
    void buildControls();
    void fitCaptionButtons();
    void redraw();
    // The rows a submit takes: those shown, at most RowCount.
    int shownRows();
    void doSubmit();
    bool readBack(const SubmitPlan& plan);
    void readStoreAgain();
    void onListChoice(int line);
    // The list's current and only selected line is the chosen one.
    void keepListOnChosen();
    ParameterSection configurationSlice(const ParameterHandler& handler) const;

    QWidget* frame = nullptr;
    ParameterHandler store;
    std::optional<ParameterHandler> readAlready;
    ControlHandler controls;
    std::unique_ptr<ListChooser> chooser;  // of the list-driven pages
    std::string title;
    std::string submitCaption;
    std::string resetCaption;
    ParameterSection loaded;
    ParameterSection working;
    int first = 0;
    int count = 0;
    int sectionIndex = 0;
    bool built = false;
    bool inInitialisation = false;
    bool submitSucceeded = false;
    bool unavailable = false;
    PageMode mode = PageMode::Configuration;
    QListWidget* list = nullptr;
    QPushButton* submitButton = nullptr;
    QPushButton* resetButton = nullptr;
    std::unique_ptr<PageRows> rows;  // the rows of the page shown now
    QRect submitHome;
    QRect resetHome;
    bool buttonsPlaced = false;
};
