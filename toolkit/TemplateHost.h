#pragma once

#include <QWidget>

#include <optional>

#include "DialogTemplates.h"
#include "DialogUnits.h"

class DataExchange;

// What every window built from a template shares: creating the template's
// controls once (then OnInitDialog), finding controls by ID, the data
// exchange, and command routing. Dialog, ChildDialog and PropertyPage mix it
// into their Qt widget class; a window derives from one of those and
// overrides the virtual operations it needs:
//   OnInitDialog   after the controls exist (default: exchange to controls)
//   DoDataExchange the exchange of its data with its controls
//   OnCommand      a button of the template was clicked; true if handled
class TemplateHost {
public:
    TemplateHost(QWidget& window, int templateId);
    virtual ~TemplateHost();
    TemplateHost(const TemplateHost&) = delete;
    TemplateHost& operator=(const TemplateHost&) = delete;

    int GetTemplateId() const { return templateId; }
    // Chooses the template; only before the window is created.
    void SetTemplateId(int id);
    const DialogTemplate* Template() const;

    bool IsCreated() const { return created; }
    // Builds the controls and runs OnInitDialog, once.
    void EnsureCreated();

    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& exchange);
    virtual bool OnCommand(int commandId);

    // Runs DoDataExchange in one direction; false when a check failed (the
    // user was told and the control has the focus).
    bool UpdateData(bool saving = true);

    // The control with that ID (own controls first), or nullptr.
    QWidget* Item(int controlId) const;
    template <class T> T* Control(int controlId) const { return qobject_cast<T*>(Item(controlId)); }
    // Shows or hides a control.
    void ShowItem(int controlId, bool visible);

    QWidget& Window() const { return window; }
    // Dialog units of this window's font.
    DialogUnits Units() const;

protected:
    // Creates the template's controls; connects every button to OnCommand.
    virtual void BuildControls();

private:
    QWidget& window;
    int templateId;
    bool created = false;
};
