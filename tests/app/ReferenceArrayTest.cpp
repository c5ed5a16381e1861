// The growth rule of the loop's filter and idle-handler lists: 0, 1, then
// doubling; a growth that fails leaves the list unchanged.
#include "app/ReferenceArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Grants storage for at most two references.
void* ReallocateUpToTwo(void* block, std::size_t size)
{
    return size > 2 * sizeof(void*) ? nullptr : std::realloc(block, size);
}

TEST(ReferenceArrayTest, CapacityGoesFromZeroToOneThenDoubles)
{
    ReferenceArray<int> array;
    int item = 0;
    EXPECT_EQ(0, array.Capacity());

    std::vector<int> capacities;
    for (int appended = 0; appended < 9; ++appended) {
        ASSERT_TRUE(array.Append(&item));
        capacities.push_back(array.Capacity());
    }

    EXPECT_EQ((std::vector<int>{1, 2, 4, 4, 8, 8, 8, 8, 16}), capacities);
    EXPECT_EQ(9, array.Count());
}

TEST(ReferenceArrayTest, KeepsEntriesInOrderIncludingNullOnes)
{
    ReferenceArray<int> array;
    int first = 1;
    int third = 3;
    array.Append(&first);
    array.Append(nullptr);
    array.Append(&third);

    EXPECT_EQ(&first, array.At(0));
    EXPECT_EQ(nullptr, array.At(1));
    EXPECT_EQ(&third, array.At(2));
}

TEST(ReferenceArrayTest, FailedGrowthReturnsFalseAndChangesNothing)
{
    ReferenceArray<int, ReallocateUpToTwo> array;
    int first = 1;
    int second = 2;
    int refused = 3;
    ASSERT_TRUE(array.Append(&first));
    ASSERT_TRUE(array.Append(&second));

    EXPECT_FALSE(array.Append(&refused));

    EXPECT_EQ(2, array.Count());
    EXPECT_EQ(2, array.Capacity());
    EXPECT_EQ(&first, array.At(0));
    EXPECT_EQ(&second, array.At(1));
}

} // namespace
