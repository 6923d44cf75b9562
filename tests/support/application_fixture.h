// The base of tests that make forms and components on the global Application: after each test it
// frees what the test left there and drops a message-box or help handler the test set, so no test sees
// another's windows.
#pragma once

#include <gtest/gtest.h>

#include "platform/framework/forms/application.h"

struct ApplicationFixture : ::testing::Test {
    void TearDown() override
    {
        while (Application->ComponentCount() > 0) Application->Components(Application->ComponentCount() - 1)->Free();
        Application->MessageBoxHandler = nullptr;
        Application->OnHelp = nullptr;
    }
};
