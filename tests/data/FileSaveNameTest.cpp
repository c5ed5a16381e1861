#include "data/FileSave.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct BesideNameCase {
    const char* target;
    std::size_t nameLimit;
    const char* temp;
    const char* whole;
};

// "\xC3\xA9" is a UTF-8 "é", which is never cut in two.
const BesideNameCase BESIDE_NAME_CASES[] = {
    {"qx7set.dat", 255, "qx7set.dat.lock", "qx7set.dat.whole"},
    {"qx7set.dat", 14, "qx7set.da.lock", "qx7set.d.whole"},
    {"qx7set\xC3\xA9.dat", 12, "qx7set.lock", "qx7set.whole"},
    {"qx7set\xC3\xA9.dat", 13, "qx7set\xC3\xA9.lock", "qx7set.whole"},
    {"qx7set.dat", 6, "q.lock", ""},
    {"qx7set.dat", 5, "", ""},
};

TEST(FileSaveNames, TemporaryFileAndWholeCopyFitTheLimit)
{
    for (const BesideNameCase& test : BESIDE_NAME_CASES) {
        SCOPED_TRACE(std::string(test.target) + " within " + std::to_string(test.nameLimit));
        EXPECT_EQ(TempFileName(test.target, test.nameLimit), test.temp);
        EXPECT_EQ(WholeCopyName(test.target, test.nameLimit), test.whole);
    }
}

} // namespace
