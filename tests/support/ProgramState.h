// The program's module state as at start-up, for tests that begin afresh.
#pragma once

#include <gtest/gtest.h>

#include "analysis/DUVAnalyse.h"
#include "core/DUVMain.h"
#include "core/ErrorHandler.h"

namespace test_support {

// Every module of core/ back to its state at program start.
inline void ResetCoreState() {
    DUVMain::ResetState();
    ErrorHandler::ResetState();
}

// Core and analysis (for the test programs linked with the analysis).
inline void ResetProgramState() {
    ResetCoreState();
    DUVAnalyse::ResetState();
}

// As the start-up leaves the settings before it reads the registry: every default in place
// (the modem keywords, limits, costs and view settings).
inline void ResetToDefaultSettings() {
    ResetProgramState();
    DUVMain::SetDefaultSettings();
}

// A test that starts from the state at program start and leaves it so for the next one.
class CoreStateTest : public ::testing::Test {
protected:
    void SetUp() override { ResetCoreState(); }
    void TearDown() override { ResetCoreState(); }
};

}  // namespace test_support
