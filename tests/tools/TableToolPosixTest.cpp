// Named pipes, which only POSIX systems have.
#include "tests/support/TemporaryFolder.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ReadPipe(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A pipe cannot be replaced as a file is, nor can a device (as /dev/stdout may
// be): the table is written into it. A device is not tried here, as a save in
// its place would replace the system's own.
TEST(TableToolOutput, GoesIntoANamedPipeAsTheStreamItIs)
{
    const TemporaryFolder folder;
    const std::string pipe = folder.Path("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::future<std::string> read = std::async(std::launch::async, ReadPipe, pipe);

    const std::string demo = DemoFileBytes();
    const ToolRun piped = RunTool({"build", "-", "-o", pipe}, RunTool({"dump", "-"}, demo).out);
    // Should the tool never have opened the pipe, the reader still waits for a writer.
    const int release = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (release >= 0) {
        close(release);
    }
    EXPECT_EQ(piped.code, TABLE_TOOL_EXIT_OK);
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(read.get(), demo);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pipe"});
}

} // namespace
