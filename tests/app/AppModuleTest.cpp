// The application module: its instance handle and the thread-to-loop registry
// (order kept, duplicates allowed, first match wins, nothing without Startup).
#include "app/AppModule.h"
#include "app/MessageLoop.h"
#include "app/ScopedLock.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD THREAD = 0x1111;
constexpr DWORD OTHER_THREAD = 0x2222;

BOOL Register(AppModule& module, DWORD threadId, MessageLoop* loop)
{
    ScopedLock guard(module.lock);
    return module.RegisterLoop(threadId, loop);
}

BOOL Unregister(AppModule& module, DWORD threadId)
{
    ScopedLock guard(module.lock);
    return module.UnregisterLoop(threadId);
}

class AppModuleTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, module.Startup()); }

    AppModule module;
    MessageLoop first;
    MessageLoop second;
};

TEST(AppModuleInstanceTest, InstanceIsTheExecutableModule)
{
    const AppModule module;

    EXPECT_EQ(GetModuleHandleA(nullptr), module.instance);
    EXPECT_EQ(GetModuleHandleA(nullptr), appModule.instance);
}

TEST_F(AppModuleTest, FindLoopGivesNullForAThreadWithoutALoop)
{
    EXPECT_EQ(nullptr, module.FindLoop(THREAD));

    ASSERT_TRUE(Register(module, OTHER_THREAD, &first));

    EXPECT_EQ(nullptr, module.FindLoop(THREAD));
}

TEST_F(AppModuleTest, FindLoopGivesEachThreadItsOwnLoop)
{
    ASSERT_TRUE(Register(module, THREAD, &first));
    ASSERT_TRUE(Register(module, OTHER_THREAD, &second));

    EXPECT_EQ(&first, module.FindLoop(THREAD));
    EXPECT_EQ(&second, module.FindLoop(OTHER_THREAD));
}

TEST_F(AppModuleTest, FindLoopGivesTheFirstOfTwoRegistrationsForOneThread)
{
    ASSERT_TRUE(Register(module, THREAD, &first));
    ASSERT_TRUE(Register(module, THREAD, &second));

    EXPECT_EQ(&first, module.FindLoop(THREAD));
}

TEST_F(AppModuleTest, UnregisterLoopRemovesOnlyTheFirstMatch)
{
    MessageLoop third;
    ASSERT_TRUE(Register(module, THREAD, &first));
    ASSERT_TRUE(Register(module, OTHER_THREAD, &second));
    ASSERT_TRUE(Register(module, THREAD, &third));

    EXPECT_TRUE(Unregister(module, THREAD));

    EXPECT_EQ(&third, module.FindLoop(THREAD));
    EXPECT_EQ(&second, module.FindLoop(OTHER_THREAD));
}

TEST_F(AppModuleTest, UnregisterLoopWithoutAMatchChangesNothing)
{
    ASSERT_TRUE(Register(module, OTHER_THREAD, &first));

    EXPECT_FALSE(Unregister(module, THREAD));

    EXPECT_EQ(&first, module.FindLoop(OTHER_THREAD));
}

TEST_F(AppModuleTest, RegistryIsUsableAgainAfterItsLastEntryGoes)
{
    ASSERT_TRUE(Register(module, THREAD, &first));
    ASSERT_TRUE(Unregister(module, THREAD));
    EXPECT_EQ(nullptr, module.FindLoop(THREAD));
    EXPECT_FALSE(Unregister(module, THREAD));

    ASSERT_TRUE(Register(module, THREAD, &second));

    EXPECT_EQ(&second, module.FindLoop(THREAD));
}

TEST(AppModuleLifecycleTest, WithoutStartupNothingIsRegistered)
{
    AppModule module;
    MessageLoop loop;

    EXPECT_FALSE(Register(module, THREAD, &loop));
    EXPECT_FALSE(Unregister(module, THREAD));
    EXPECT_EQ(nullptr, module.FindLoop(THREAD));
}

TEST(AppModuleLifecycleTest, StartingTwiceKeepsTheRegistry)
{
    AppModule module;
    MessageLoop loop;
    ASSERT_EQ(S_OK, module.Startup());
    ASSERT_TRUE(Register(module, THREAD, &loop));

    EXPECT_EQ(S_OK, module.Startup());

    EXPECT_EQ(&loop, module.FindLoop(THREAD));
}

TEST(AppModuleLifecycleTest, AfterShutdownNothingIsFoundOrRegistered)
{
    AppModule module;
    MessageLoop loop;
    ASSERT_EQ(S_OK, module.Startup());
    ASSERT_TRUE(Register(module, THREAD, &loop));

    module.Shutdown();

    EXPECT_EQ(nullptr, module.FindLoop(THREAD));
    EXPECT_FALSE(Register(module, THREAD, &loop));
    EXPECT_FALSE(Unregister(module, THREAD));
}

} // namespace
