// main() for the window tests: GoogleTest inside the program's own application object.
#include "startup/application.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quelvane::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
