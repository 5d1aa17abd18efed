// SPDX-License-Identifier: MIT
#pragma once

#include "AppTestEnvironment.h"
#include "shell/Application.h"

#include <QApplication>
#include <QFont>
#include <QTest>

/// The main of an application test program: the process set-up every application test needs,
/// then the test class's slots.
#define DBSIFT_APP_TEST_MAIN(TestClass)                                                                      \
    int main(int argc, char** argv) {                                                                        \
        dbsift::test::initialiseAppTestProcess();                                                            \
        QApplication application(argc, argv);                                                                \
        dbsift::configureApplication(application);                                                           \
        QApplication::setStyle(QStringLiteral("Fusion"));                                                    \
        QApplication::setFont(QFont("DejaVu Sans", 9));                                                      \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
