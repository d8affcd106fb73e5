#include "ConfigApp.h"

int main(int argc, char** argv) {
    GuardedApplication application(argc, argv);
    ConfigApp app;
    QStringList arguments = GuardedApplication::arguments();
    arguments.removeFirst();
    return app.StartUp(arguments);
}
