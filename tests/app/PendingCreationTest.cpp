// The hand-over list: newest first, per thread, one record per object, and no
// record left behind by an object that is destroyed before its window exists.
#include "app/PendingCreation.h"
#include "tests/app/LoggingDialog.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>

namespace {

TEST(PendingCreationTest, TakesTheNewestRecordFirst)
{
    PendingCreation list;
    LoggingDialog older;
    LoggingDialog newer;
    list.PrepareCreation(&older);
    list.PrepareCreation(&newer);

    EXPECT_EQ(&newer, list.TakePending());
    EXPECT_EQ(&older, list.TakePending());
    EXPECT_EQ(nullptr, list.TakePending());
}

TEST(PendingCreationTest, RecordsOfAnotherThreadAreLeftToThatThread)
{
    PendingCreation list;
    LoggingDialog mine;
    LoggingDialog theirs;
    list.PrepareCreation(&mine);
    std::promise<void> prepared;
    std::promise<void> checked;
    DialogWindow* takenThere = nullptr;
    std::thread other([&] {
        list.PrepareCreation(&theirs);
        prepared.set_value();
        checked.get_future().wait();
        takenThere = list.TakePending();
    });
    prepared.get_future().wait();

    EXPECT_EQ(&mine, list.TakePending());
    EXPECT_EQ(nullptr, list.TakePending());

    checked.set_value();
    other.join();
    EXPECT_EQ(&theirs, takenThere);
}

TEST(PendingCreationTest, PreparingAnObjectTwiceRecordsItOnce)
{
    PendingCreation list;
    LoggingDialog first;
    LoggingDialog twice;
    list.PrepareCreation(&twice);
    list.PrepareCreation(&first);
    list.PrepareCreation(&twice);

    EXPECT_EQ(&twice, list.TakePending());
    EXPECT_EQ(&first, list.TakePending());
    EXPECT_EQ(nullptr, list.TakePending());
}

TEST(PendingCreationTest, ObjectDestroyedBeforeItsWindowLeavesTheList)
{
    PendingCreation list;
    LoggingDialog kept;
    list.PrepareCreation(&kept);
    auto destroyed = std::make_unique<LoggingDialog>();
    list.PrepareCreation(destroyed.get());

    destroyed.reset();

    EXPECT_EQ(&kept, list.TakePending());
    EXPECT_EQ(nullptr, list.TakePending());
}

TEST(PendingCreationTest, PreparingOnAnotherListMovesTheRecord)
{
    PendingCreation firstList;
    PendingCreation secondList;
    LoggingDialog dialog;
    firstList.PrepareCreation(&dialog);

    secondList.PrepareCreation(&dialog);

    EXPECT_EQ(nullptr, firstList.TakePending());
    EXPECT_EQ(&dialog, secondList.TakePending());
}

} // namespace
