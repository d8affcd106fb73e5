#include "ToolHost.h"

#include <stdexcept>

#include "ToolkitApp.h"

ToolHost& ToolHost::Get() {
    // The program's application object is both the toolkit's and the tools'.
    auto* host = dynamic_cast<ToolHost*>(ToolkitApp::Current());
    if (!host) throw std::logic_error("no application object hosts the tools");
    return *host;
}
