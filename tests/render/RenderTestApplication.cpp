// The render tests measure and draw text: they need a GUI application (offscreen in CTest).
#include <QGuiApplication>

#include "support/TestRegistry.h"

TERRAVEL_TEST_APPLICATION(QGuiApplication)
