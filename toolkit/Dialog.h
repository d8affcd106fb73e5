#pragma once

#include <QDialog>

#include "TemplateHost.h"

// A top-level dialog built from a template (About box, text views, form
// entry, and the main window). DoModal runs it modally and answers the ID
// of the button that ended it. Buttons 1 (OK) and 2 (Cancel) end it through
// OnOK (exchange from the controls; stays open when a check fails) and
// OnCancel; Enter presses the default button, Escape and the title-bar close
// run OnCancel. Help requests go to the application's help (F1 included).
// EndDialog during OnInitDialog (a file that cannot be read) ends DoModal at
// once with that result; the dialog is never shown.
class Dialog : public QDialog, public TemplateHost {
    Q_OBJECT
public:
    explicit Dialog(int templateId, QWidget* parent = nullptr);

    int DoModal();
    void EndDialog(int result);

    bool OnCommand(int commandId) override;
    virtual void OnOK();
    virtual void OnCancel();
    // A help request from this window (F1); the base passes it to the
    // application's help with the given context.
    virtual void OnHelp();

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

protected:
    void BuildControls() override;
    void showEvent(QShowEvent* event) override;

private:
    bool running = false;
    bool endedEarly = false;
};

// A child window built from a template, embedded in another window (the
// Quick Installation form, the home page). It is created by Create(), which
// the derived window calls at the end of its constructor.
class ChildDialog : public QWidget, public TemplateHost {
    Q_OBJECT
public:
    ChildDialog(int templateId, QWidget* parent);
    void Create() { EnsureCreated(); }
};
