#include "ConfigPropertySheet.h"

#include <QKeySequence>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <algorithm>

#include "ConfigApp.h"
#include "ConfigSheetLayout.h"
#include "ParameterHandler.h"
#include "ShareFile.h"
#include "StringTable.h"
#include "TemplatePage.h"
#include "WaitCursor.h"

ConfigPropertySheet::ConfigPropertySheet(QWidget* parent, PageFactory factory) : PropertySheet(parent) {
    if (!factory) factory = [] { return std::make_unique<TemplatePage>(); };
    {
        WaitCursor wait;
        ParameterHandler handler;
        handler.Load(SharePath(ConfigApp::Get().GetServerPath(), "\\Config\\Config.ini"),
                     CatalogueKind::Configuration);
        sectionCount = handler.GetSectionCount();
        for (int s = 0; s < sectionCount; ++s) {
            const ParameterSection& section = handler.SectionAt(s);
            const std::vector<ConfigSheetLayout::PageSlice> slices = ConfigSheetLayout::Paginate(section);
            std::string title = section.GetTitleId() != 0 ? LoadString(section.GetTitleId()) : std::string();
            if (title.empty()) title = section.GetName();
            for (size_t j = 0; j < slices.size(); ++j) {
                std::unique_ptr<TemplatePage> page = factory();
                page->Initialise(ConfigSheetLayout::PageTitle(title, static_cast<int>(j), static_cast<int>(slices.size())),
                                 s, PageMode::Configuration, slices[j].first, slices[j].count);
                AddPage(page.get());
                pages.push_back(std::move(page));
            }
        }
    }
    addTabShortcuts();
    Create();
}

void ConfigPropertySheet::addTabShortcuts() {
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
        connect(shortcut, &QShortcut::activated, this, [this, step = step] {
            if (count() > 1) SetActivePage((GetActiveIndex() + step + count()) % count());
        });
    }
}

ConfigPropertySheet::~ConfigPropertySheet() {
    // The pages go first, while the sheet they sit in still exists.
    pages.clear();
}

bool ConfigPropertySheet::OnInitDialog() {
    const bool result = PropertySheet::OnInitDialog();
    // The pages have no layout; their minimum size is the template's. A few
    // pixels more, where the main window has them, keep every tab in view.
    QSize size = sizeHint().expandedTo(minimumSizeHint());
    const int tabs = tabBar()->sizeHint().width() + 2 * style()->pixelMetric(QStyle::PM_TabBarBaseOverlap);
    const int room = parentWidget() ? parentWidget()->width() - 2 * kLeft : size.width();
    size.setWidth(std::max(size.width(), std::min(tabs, room)));
    resize(size);
    move(kLeft, kTop);
    return result;
}

bool ConfigPropertySheet::CanLeave() {
    PropertyPage* page = GetActivePage();
    return !page || page->OnKillActive();
}
