// The shell starts the application module before any window exists; so do the
// main window's tests.

#include "app/AppModule.h"

#include <gtest/gtest.h>

namespace {

class AppModuleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { appModule.Startup(); }
    void TearDown() override { appModule.Shutdown(); }
};

const ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new AppModuleEnvironment);

} // namespace
