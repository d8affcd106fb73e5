#include "ConfigPropertySheet.h"

#include "Catalogue.h"
#include "ConfigSheetLayout.h"
#include "ParameterHandler.h"
#include "ServerFiles.h"
#include "StringTable.h"
#include "TemplatePage.h"
#include "ToolHost.h"
#include "WaitCursor.h"

ConfigPropertySheet::ConfigPropertySheet(QWidget* parent, PageFactory factory) : PropertySheet(parent) {
    if (!factory) factory = [] { return std::make_unique<TemplatePage>(); };
    WaitCursor wait;
    ParameterHandler handler;
    handler.Load(ToolHost::Get().GetShare(), ServerFile::Configuration, CatalogueOf(Configuration));
    {
        sectionCount = handler.GetSectionCount();
        for (int s = 0; s < sectionCount; ++s) {
            const ParameterSection& section = handler.SectionAt(s);
            const std::vector<ConfigSheetLayout::PageSlice> slices = ConfigSheetLayout::Paginate(section);
            std::string title = section.GetTitleId() != 0 ? LoadString(section.GetTitleId()) : std::string();
            if (title.empty()) title = section.GetName();
            for (size_t j = 0; j < slices.size(); ++j) {
                // The sheet's tab widget owns the page from here on.
                TemplatePage* page = factory().release();
                page->Initialise(ConfigSheetLayout::PageTitle(title, static_cast<int>(j), static_cast<int>(slices.size())),
                                 s, PageMode::Configuration, slices[j].first, slices[j].count);
                AddPage(page);
                pages.push_back(page);
            }
        }
    }
    // The first page shows at once: it takes the file just read instead of
    // reading it again.
    if (!pages.empty()) pages.front()->UseStoreOnce(std::move(handler));
    Create();
}

bool ConfigPropertySheet::OnInitDialog() {
    const bool result = PropertySheet::OnInitDialog();
    PlaceInParent(kLeft, kTop);
    return result;
}

bool ConfigPropertySheet::CanLeave() {
    PropertyPage* page = GetActivePage();
    return !page || page->OnKillActive();
}
