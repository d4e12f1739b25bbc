// The main() of the course tests: a real application prepared as the course prepares its own.
#pragma once

#include <QApplication>
#include <QTest>

#include "app/coursemap.h"
#include "forms/fonts.h"
#include "shell/prepare.h"

#define LUMORA_TEST_MAIN(TestClass)                                  \
  int main(int argc, char* argv[]) {                                 \
    QApplication app(argc, argv);                                    \
    QGuiApplication::setDesktopFileName(LUMORA_APP_ID);              \
    forms::RegisterShippedFonts(qEnvironmentVariable("LUMORA_BIN")); \
    shell::PrepareApplication(app::Course());                        \
    TestClass test;                                                  \
    return QTest::qExec(&test, argc, argv);                          \
  }
