// The main() of the course tests: a real application with the course's fonts.
#pragma once

#include <QApplication>
#include <QTest>

#include "accessibility.h"
#include "fonts.h"

#define LUMORA_TEST_MAIN(TestClass)                 \
  int main(int argc, char* argv[]) {                \
    QApplication app(argc, argv);                   \
    QApplication::setQuitOnLastWindowClosed(false); \
    forms::InstallFontSubstitutions();              \
    forms::InstallAccessibility();                  \
    TestClass test;                                 \
    return QTest::qExec(&test, argc, argv);         \
  }
