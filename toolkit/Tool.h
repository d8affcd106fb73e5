#pragma once

// A tool the main window hosts as its one embedded child (the configuration
// sheet, the Quick Installation form, the management sheet). The main window
// creates it with itself as parent, shows it below its header, and asks
// CanLeave before it destroys it (Home button, closing): false keeps the tool.
// A tool's constructor may raise FileException when the server's files cannot
// be read; the main window then reports it and goes back to the home page.
class ChangeSource;

class Tool {
public:
    virtual ~Tool() = default;
    virtual bool CanLeave() = 0;
    // The page shown now, when its Submit writes a server file; else nullptr.
    virtual ChangeSource* ShownChanges() { return nullptr; }
};
