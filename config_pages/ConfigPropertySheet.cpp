#include "ConfigPropertySheet.h"

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
            if (!ConfigSheetLayout::HasNamedParameter(section)) continue;
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
    Create();
}

ConfigPropertySheet::~ConfigPropertySheet() {
    // The pages go first, while the sheet they sit in still exists.
    pages.clear();
}

bool ConfigPropertySheet::OnInitDialog() {
    const bool result = PropertySheet::OnInitDialog();
    // The pages have no layout; their minimum size is the template's.
    resize(sizeHint().expandedTo(minimumSizeHint()));
    move(15, 70);
    return result;
}

bool ConfigPropertySheet::CanLeave() {
    PropertyPage* page = GetActivePage();
    return !page || page->OnKillActive();
}
