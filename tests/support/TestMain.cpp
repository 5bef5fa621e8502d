// Shared main of the GUI test programs.
#include "OffscreenProgram.h"
#include "SharedAgents.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    OffscreenProgram program(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SharedAgents); // owned by the framework
    return RUN_ALL_TESTS();
}
