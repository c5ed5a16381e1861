// The bounded read that the load and the table tool take every input through, from files
// and from streams such as standard input.
#include "data/WholeFile.h"

#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <istream>
#include <streambuf>

namespace {

// A stream that cannot tell its length, as a pipe.
class PipeBuffer : public std::streambuf {
public:
    explicit PipeBuffer(std::string& bytes) { setg(bytes.data(), bytes.data(), bytes.data() + bytes.size()); }
};

// Up to 16 bytes, and one more where the file goes on, with the file's size
// where it can be told.
TEST(WholeFile, ReadsUpToTheLimitAndOneByteMoreAndTellsTheFileGoesOn)
{
    const TemporaryFolder folder;
    const std::string path = folder.Path("input");
    const struct {
        std::size_t fileSize;
        std::size_t bytesRead;
        bool goesOn;
    } cases[] = {{0, 0, false}, {10, 10, false}, {16, 16, false}, {17, 17, true}, {5000, 17, true}};
    for (const auto& readCase : cases) {
        std::string content = ByteRun(0, readCase.fileSize);
        WriteFileBytes(path, content);
        PipeBuffer pipe(content);
        std::istream in(&pipe);
        std::string fromFile;
        std::string fromPipe;
        const WholeFileRead file = WholeFile::Read(path, 16, fromFile);
        const WholeFileRead piped = WholeFile::Read(in, 16, fromPipe);

        EXPECT_TRUE(file.read && piped.read) << readCase.fileSize;
        EXPECT_EQ(fromFile, content.substr(0, readCase.bytesRead));
        EXPECT_EQ(fromPipe, fromFile);
        EXPECT_EQ(file.goesOn, readCase.goesOn) << readCase.fileSize;
        EXPECT_EQ(piped.goesOn, readCase.goesOn) << readCase.fileSize;
        EXPECT_EQ(file.size.value_or(0), readCase.fileSize);
        EXPECT_FALSE(piped.size.has_value()) << readCase.fileSize;
    }
}

} // namespace
