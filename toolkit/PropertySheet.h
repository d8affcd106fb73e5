#pragma once

#include <QPointer>
#include <QTabWidget>

#include "DialogUnits.h"
#include "Tool.h"

class PropertyPage;

// A tabbed sheet of PropertyPages, embedded as a child in its parent window.
// Ctrl+Tab / Ctrl+Shift+Tab and Ctrl+PgDn / Ctrl+PgUp move to the next or
// previous tab from any control; a page that becomes the shown tab gives
// its first control the focus.
// Pages are added at run time (AddPage); the sheet does not own them beyond
// Qt's parenting (a derived sheet may hold them and destroy them first).
// Every change of the shown tab - mouse, keyboard, SetActivePage - first asks
// the shown page's OnKillActive and does not happen when it answers false;
// then the new page is created if needed and gets OnSetActive.
// A derived sheet adds its pages in its constructor, then calls Create(),
// which shows the first page and runs OnInitDialog. CanLeave asks the shown
// page's OnKillActive, so the sheet can serve as a Tool of the main window.
class PropertySheet : public QTabWidget, public Tool {
    Q_OBJECT
public:
    explicit PropertySheet(QWidget* parent);
    ~PropertySheet() override;

    void AddPage(PropertyPage* page);
    int GetPageCount() const { return count(); }
    PropertyPage* GetPage(int index) const;
    PropertyPage* GetActivePage() const { return activePage.data(); }
    int GetActiveIndex() const { return currentIndex(); }

    // Shows the page at index; false when the shown page refused to be left.
    bool SetActivePage(int index);
    bool SetActivePage(PropertyPage* page);

    // Shows the first page and runs OnInitDialog; call once, after adding
    // the pages.
    void Create();
    // After the first page is shown; the base sizes the sheet to its pages.
    virtual bool OnInitDialog();

    bool CanLeave() override;
    // The shown page, when it is a ChangeSource.
    ChangeSource* ShownChanges() override;

    // Dialog units of the sheet's font.
    DialogUnits Units() const { return DialogUnits::ForFont(font()); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Sizes the sheet to its pages, and wider where that shows every tab and
    // the parent has room (left kept free on either side), then moves it to
    // (left, top) in the parent. The position is given in pixels of the
    // reference font and scaled to the sheet's (Units().ReferencePoint), so
    // it keeps its distance to the parent's header at any font size. For
    // OnInitDialog of embedded sheets.
    void PlaceInParent(int left, int top);

private:
    friend class PropertyPage;
    friend class SheetTabBar;
    void addTabKeys();
    void stepTab(int step);
    void updateTitle(PropertyPage* page);
    void activate(int index);
    void onCurrentChanged(int index);
    int neighbourTab(int from, int step, bool wrap) const;

    QPointer<PropertyPage> activePage;
    bool changing = false;
    bool created = false;
};
