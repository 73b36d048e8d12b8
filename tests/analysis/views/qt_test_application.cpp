// One QApplication for the whole test program.
#include "../../platform/gui/qt_test_application.h"
