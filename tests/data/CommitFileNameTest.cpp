#include "data/CommitFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TempNameCase {
    const char* target;
    std::size_t nameLimit;
    const char* expected;
    // The whole copy's name within the same limit.
    const char* whole;
};

// "\xC3\xA9" is a UTF-8 "é", which is never cut in two.
const TempNameCase TEMP_NAME_CASES[] = {
    {"qx7set.dat", 255, "qx7set.dat.4242-7.tmp", "qx7set.dat.whole"},
    {"qx7set.dat", 20, "qx7set.da.4242-7.tmp", "qx7set.dat.whole"},
    {"qx7set\xC3\xA9.dat", 18, "qx7set.4242-7.tmp", "qx7set\xC3\xA9.dat.whole"},
    {"qx7set\xC3\xA9.dat", 13, "qx.4242-7.tmp", "qx7set.whole"},
    {"qx7set.dat", 11, "", "qx7se.whole"},
    {"qx7set.dat", 6, "", ""},
};

TEST(CommitFileNames, TemporaryNameFitsTheLimitAndIsKnownAgainAsALeftover)
{
    for (const TempNameCase& test : TEMP_NAME_CASES) {
        SCOPED_TRACE(std::string(test.target) + " within " + std::to_string(test.nameLimit));
        const std::string name = TempFileName(test.target, 4242, 7, test.nameLimit);
        EXPECT_EQ(name, test.expected);
        EXPECT_EQ(IsTempFileNameOf(name, test.target, test.nameLimit), !name.empty());
        EXPECT_EQ(WholeCopyName(test.target, test.nameLimit), test.whole);
        EXPECT_FALSE(IsTempFileNameOf(test.whole, test.target, test.nameLimit));
    }
    for (const char* name : {"qx7set.dat", "qx7set.dat.tmp", "qx7set.dat.1-.tmp", "qx7set.dat.-1.tmp",
                             "qx7set.dat1-2.tmp", "qx7set.dat.1-2.tmp.bak", "other.dat.1-2.tmp"}) {
        EXPECT_FALSE(IsTempFileNameOf(name, "qx7set.dat", 255)) << name;
    }
}

} // namespace
