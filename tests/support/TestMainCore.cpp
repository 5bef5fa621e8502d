// Shared main of the widget-free test programs.
#include "CoreProgram.h"
#include "SharedAgents.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    CoreProgram program(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SharedAgents); // owned by the framework
    return RUN_ALL_TESTS();
}
