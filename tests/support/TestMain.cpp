// Shared main of the GUI test programs.
#include "OffscreenProgram.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    OffscreenProgram program(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
