// SPDX-License-Identifier: MIT
#include "TestEnvironment.h"

#include "dataaccess/OdbcApi.h"

#include <gtest/gtest.h>

#include <iostream>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The ODBC configuration must be in place before the driver manager reads it.
    sifkit::test::OdbcConfig::instance();
    int result = RUN_ALL_TESTS();
    // Every object of the tests is gone by now, so every ODBC handle must have been freed.
    if (long live = sifkit::platform::odbc::liveHandleCount(); live != 0) {
        std::cerr << live << " ODBC handle(s) were never freed\n";
        return 1;
    }
    return result;
}
