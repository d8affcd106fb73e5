#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "PropertyPage.h"  // complete before the sheet's inline page accessors
#include "PropertySheet.h"

class TemplatePage;

// The tabbed sheet of the configuration: one generated page per slice of at
// most 16 rows of each section of the server's configuration file, in file
// order. Built inside the main window below its header. Construction raises
// FileException when the configuration file cannot be read. Help (F1, the
// Help button) reaches the main window, which shows the topic of the page
// that is active.
class ConfigPropertySheet : public PropertySheet {
    Q_OBJECT
public:
    // Makes the pages; tests may hand in pages of their own making. The
    // sheet takes each page over as its child.
    using PageFactory = std::function<std::unique_ptr<TemplatePage>()>;

    explicit ConfigPropertySheet(QWidget* parent, PageFactory factory = {});

    bool OnInitDialog() override;
    bool CanLeave() override;

    int GetSectionCount() const { return sectionCount; }
    TemplatePage* PageAt(int index) const { return pages.at(index); }

private:
    // Where the sheet sits in the main window's client area, in pixels of
    // the reference font (scaled to the font in use).
    static constexpr int kLeft = 15;
    static constexpr int kTop = 70;

    int sectionCount = 0;
    std::vector<TemplatePage*> pages;  // in tab order; children of the sheet
};
