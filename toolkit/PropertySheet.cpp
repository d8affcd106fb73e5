#include "PropertySheet.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QWheelEvent>

#include <algorithm>

#include "ChangeSource.h"
#include "PropertyPage.h"
#include "ToolkitApp.h"

// The sheet's tab bar: a click on another tab, or a key that moves to one,
// becomes a request to the sheet, which may refuse it.
class SheetTabBar : public QTabBar {
public:
    SheetTabBar(PropertySheet* sheet) : QTabBar(sheet), sheet(sheet) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        const int index = tabAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && index >= 0 && index != currentIndex()) {
            event->accept();
            sheet->SetActivePage(index);
            return;
        }
        QTabBar::mousePressEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        int target = -1;
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up: target = sheet->neighbourTab(currentIndex(), -1, false); break;
        case Qt::Key_Right:
        case Qt::Key_Down: target = sheet->neighbourTab(currentIndex(), 1, false); break;
        case Qt::Key_Home: target = sheet->neighbourTab(-1, 1, false); break;
        case Qt::Key_End: target = sheet->neighbourTab(count(), -1, false); break;
        default: QTabBar::keyPressEvent(event); return;
        }
        event->accept();
        if (target >= 0 && target != currentIndex()) sheet->SetActivePage(target);
    }
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }

private:
    PropertySheet* sheet;
};

PropertySheet::PropertySheet(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new SheetTabBar(this));
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QTabWidget::currentChanged, this, &PropertySheet::onCurrentChanged);
    addTabKeys();
}

void PropertySheet::addTabKeys() {
    // Ctrl+Tab and friends move between tabs from any control of the sheet.
    // As shortcuts they come before the controls' own keys: a choice list
    // would otherwise take Ctrl+Tab as a letter to search for.
    const std::pair<QKeySequence, int> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto& [sequence, step] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { stepTab(step); });
    }
}

void PropertySheet::stepTab(int step) {
    const int target = neighbourTab(currentIndex(), step, true);
    if (target >= 0 && target != currentIndex()) SetActivePage(target);
}

void PropertySheet::keyPressEvent(QKeyEvent* event) {
    // The same keys when they arrive as key presses (in a window that is not
    // the active one, shortcuts do not fire): the tab widget's own handling
    // would show the next page before the shown one is asked.
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    const int step = !control                                           ? 0
                     : key == Qt::Key_Tab || key == Qt::Key_PageDown    ? 1
                     : key == Qt::Key_Backtab || key == Qt::Key_PageUp ? -1
                                                                        : 0;
    if (step == 0) {
        QTabWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    stepTab(step);
}

PropertySheet::~PropertySheet() { disconnect(this, &QTabWidget::currentChanged, this, nullptr); }

void PropertySheet::AddPage(PropertyPage* page) {
    page->sheet = this;
    changing = true;
    addTab(page, page->GetTitle());
    changing = false;
    if (created && !activePage) activate(indexOf(page));
}

PropertyPage* PropertySheet::GetPage(int index) const { return qobject_cast<PropertyPage*>(widget(index)); }

void PropertySheet::updateTitle(PropertyPage* page) {
    const int index = indexOf(page);
    if (index >= 0) setTabText(index, page->GetTitle());
}

int PropertySheet::neighbourTab(int from, int step, bool wrap) const {
    const int n = count();
    if (n == 0) return -1;
    int index = from;
    for (int tries = 0; tries < n; ++tries) {
        index += step;
        if (wrap) {
            index = (index + n) % n;
        } else if (index < 0 || index >= n) {
            return -1;
        }
        if (isTabEnabled(index) && isTabVisible(index)) return index;
    }
    return -1;
}

bool PropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= count()) return false;
    PropertyPage* target = GetPage(index);
    if (target == activePage && index == currentIndex()) return true;
    if (activePage && !activePage->OnKillActive()) return false;
    activate(index);
    return true;
}

bool PropertySheet::SetActivePage(PropertyPage* page) { return SetActivePage(indexOf(page)); }

void PropertySheet::activate(int index) {
    PropertyPage* page = GetPage(index);
    if (!page) return;
    // The page is made ready before it is shown: messages of its activation
    // appear over the page being left, never over a half-built one.
    page->EnsureCreated();
    activePage = page;
    page->OnSetActive();
    changing = true;
    setCurrentIndex(index);
    changing = false;
    // The keys keep working tab after tab: the page's first control takes
    // the focus, unless the user is moving along the tabs themselves.
    if (!tabBar()->hasFocus()) FocusFirstControl(page);
}

void PropertySheet::onCurrentChanged(int index) {
    if (changing || !created) return;
    // The shown page went away (removed or being destroyed with a derived
    // sheet): nothing to ask, and nothing is activated behind the owner.
    if (!activePage || GetPage(index) == activePage) return;
    // A change that did not come through SetActivePage: ask as well, and
    // undo it when the page refuses.
    if (activePage && !activePage->OnKillActive()) {
        changing = true;
        setCurrentIndex(indexOf(activePage));
        changing = false;
        return;
    }
    activate(index);
}

void PropertySheet::Create() {
    if (created) return;
    created = true;
    if (count() > 0) activate(0);
    OnInitDialog();
}

bool PropertySheet::OnInitDialog() {
    adjustSize();
    return true;
}

void PropertySheet::PlaceInParent(int left, int top) {
    // Scaled with the font like the templates' controls, so the sheet keeps
    // clear of the header above it at any font size.
    const QPoint at = Units().ReferencePoint(left, top);
    // The pages have no layout; their minimum size is the template's. A few
    // pixels more, where the parent has them, keep every tab in view.
    QSize size = sizeHint().expandedTo(minimumSizeHint());
    const int tabs = tabBar()->sizeHint().width() + 2 * style()->pixelMetric(QStyle::PM_TabBarBaseOverlap);
    const int room = parentWidget() ? parentWidget()->width() - 2 * at.x() : size.width();
    size.setWidth(std::max(size.width(), std::min(tabs, room)));
    resize(size);
    move(at);
}

bool PropertySheet::CanLeave() { return !activePage || activePage->OnKillActive(); }

ChangeSource* PropertySheet::ShownChanges() { return dynamic_cast<ChangeSource*>(GetActivePage()); }
