#include "QtTestMain.h"

TESSARON_QT_TEST_MAIN()
