#include "QtTestMain.h"
#include "ToolkitApp.h"

// The program's own application class, so errors escaping an event handler
// take the program's path in the tests too.
TESSARON_QT_TEST_MAIN_WITH(GuardedApplication)
