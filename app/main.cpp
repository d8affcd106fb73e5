#include <csignal>
#include <string>
#include <vector>

#include "ConfigApp.h"

int main(int argc, char** argv) {
    // Help and version are answered before the windows start: they need no
    // display.
    if (ConfigApp::PrintInformation(std::vector<std::string>(argv + 1, argv + argc))) return 0;
    // A file-size limit must fail a write (which then puts the old bytes
    // back), not kill the program half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
    GuardedApplication application(argc, argv);
    ConfigApp app;
    QStringList arguments = GuardedApplication::arguments();
    arguments.removeFirst();
    return app.StartUp(arguments);
}
