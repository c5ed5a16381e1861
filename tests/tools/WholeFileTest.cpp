// The bounded read that the table tool takes every input through, from files
// and from streams such as standard input.
#include "data/TilesetFileFormat.h"
#include "data/WholeFile.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <istream>
#include <streambuf>

namespace {

const std::size_t LIMIT = 16;

// A stream that cannot tell its length, as a pipe.
class PipeBuffer : public std::streambuf {
public:
    explicit PipeBuffer(std::string& bytes) { setg(bytes.data(), bytes.data(), bytes.data() + bytes.size()); }
};

struct ReadCase {
    const char* what;
    std::size_t fileSize;
    // What the read holds: the limit and one byte more where the file goes on.
    std::size_t bytesRead;
    bool goesOn;
};

void PrintTo(const ReadCase& readCase, std::ostream* out)
{
    *out << readCase.what;
}

std::string Content(std::size_t size)
{
    std::string content;
    for (std::size_t k = 0; k < size; ++k) {
        content += static_cast<char>('a' + k % 26);
    }
    return content;
}

class WholeFileRead16 : public ::testing::TestWithParam<ReadCase> {};

TEST_P(WholeFileRead16, HoldsTheLimitAndOneByteMoreAndTellsTheFileGoesOnWithItsSize)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("input");
    const std::string content = Content(GetParam().fileSize);
    WriteFileBytes(path, content);

    std::string bytes;
    const WholeFileRead read = WholeFile::Read(path, LIMIT, bytes);
    EXPECT_TRUE(read.read);
    EXPECT_EQ(bytes, content.substr(0, GetParam().bytesRead));
    EXPECT_EQ(read.goesOn, GetParam().goesOn);
    EXPECT_EQ(read.size.value_or(0), GetParam().fileSize);
}

TEST_P(WholeFileRead16, FromAStreamWithoutLengthTellsNoSize)
{
    std::string content = Content(GetParam().fileSize);
    PipeBuffer pipe(content);
    std::istream in(&pipe);

    std::string bytes;
    const WholeFileRead read = WholeFile::Read(in, LIMIT, bytes);
    EXPECT_TRUE(read.read);
    EXPECT_EQ(bytes, content.substr(0, GetParam().bytesRead));
    EXPECT_EQ(read.goesOn, GetParam().goesOn);
    EXPECT_FALSE(read.size.has_value());
}

INSTANTIATE_TEST_SUITE_P(Sizes, WholeFileRead16,
                         ::testing::Values(ReadCase{"empty", 0, 0, false}, ReadCase{"shorter", 10, 10, false},
                                           ReadCase{"as long as the limit", 16, 16, false},
                                           ReadCase{"one byte longer", 17, 17, true},
                                           ReadCase{"far longer", 5000, 17, true}));

TEST(WholeFile, ReadsATableFileUpToTheLargestTableAndOneByteMore)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("long.dat");
    WriteFileBytes(path, std::string(TilesetFileFormat::LARGEST_FILE_SIZE + 100, 'x'));

    std::string bytes;
    std::string reason;
    EXPECT_TRUE(WholeFile::Read(path, bytes, reason));
    EXPECT_EQ(bytes.size(), TilesetFileFormat::LARGEST_FILE_SIZE + 1);
    EXPECT_FALSE(WholeFile::Read(folder.Path("missing.dat"), bytes, reason));
    EXPECT_EQ(reason, "no such file");
    EXPECT_EQ(bytes, "");
}

} // namespace
