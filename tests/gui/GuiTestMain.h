#pragma once

#include <QApplication>
#include <QTest>

#include "gui/CQuimbApp.h"

// QTEST_MAIN, with the process prepared the way the program prepares it (web engine settings).
#define QUIMB_GUI_TEST_MAIN(TestClass)          \
    int main(int argc, char** argv) {           \
        CQuimbApp::PrepareProcess();            \
        QApplication application(argc, argv);   \
        TestClass test;                         \
        return QTest::qExec(&test, argc, argv); \
    }
