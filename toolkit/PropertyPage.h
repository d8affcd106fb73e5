#pragma once

#include <QString>
#include <QWidget>

#include "TemplateHost.h"

class PropertySheet;

// One tab of a PropertySheet, built from a template (default size of the
// pages: 330 x 175 dialog units). The page's controls are created when it is
// first shown (then OnInitDialog runs). The sheet calls OnSetActive each time
// the page becomes the shown tab and OnKillActive before it stops being it;
// false from OnKillActive keeps the page (the tab does not change). The
// default OnKillActive reads the controls back (UpdateData) and answers
// whether that succeeded.
class PropertyPage : public QWidget, public TemplateHost {
    Q_OBJECT
public:
    explicit PropertyPage(int templateId = 0, QWidget* parent = nullptr);

    virtual bool OnSetActive();
    virtual bool OnKillActive();

    // The tab text; by default the template's caption.
    QString GetTitle() const { return title; }
    void SetTitle(const QString& text);

    PropertySheet* GetSheet() const { return sheet; }

protected:
    void BuildControls() override;

private:
    friend class PropertySheet;
    PropertySheet* sheet = nullptr;
    QString title;
    bool titleSet = false;
};
