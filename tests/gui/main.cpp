// The in-process window tests run inside one application object, as the program does.
#include "app/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    Application application;
    application.Initialize();
    return RUN_ALL_TESTS();
}
