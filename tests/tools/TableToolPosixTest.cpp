// Named pipes, sockets and file names that Windows does not allow, which only POSIX systems have.
#include "tests/support/TemporaryFolder.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

bool MakeSocket(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size());
    const int handle = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = handle >= 0 && bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (handle >= 0) {
        close(handle);
    }
    return bound;
}

// Every command names a socket and a loop of links as what they are, in the
// editor's words, where the system's would say "No such device or address".
TEST(TableToolFiles, SocketsAndLinkLoopsAreToldAlikeByEveryCommand)
{
    const TemporaryFolder folder;
    ASSERT_TRUE(MakeSocket(folder.Path("socket")));
    std::filesystem::create_symlink("loop", folder.Path("loop"));
    const struct {
        std::string name;
        std::string reason;
    } files[] = {
        {"socket", "is a socket, not a file"},
        {"loop", "is a loop of symbolic links"},
    };
    using Args = std::vector<std::string>;
    for (const auto& file : files) {
        const std::string path = folder.Path(file.name);
        const std::string told = "kestrivane-table: " + path + ": " + file.reason + "\n";
        for (const Args& args : {Args{"check", path}, Args{"dump", path}, Args{"build", path}, Args{"demo", path}}) {
            EXPECT_EQ(RunTool(args).err, told) << args[0] << " " << file.name;
        }
        EXPECT_EQ(RunTool({"build", "-", "-o", path}, "tilesets 0\n").err, told);
        EXPECT_EQ(RunTool({"merge", path, path, path}).err, ReplaceAll(told, path, "BASE (" + path + ")"));
        EXPECT_EQ(RunTool({"dump", "--textconv", path}).out, "the table cannot be read: " + file.reason + "\n");
    }
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"loop", "socket"}));
}

} // namespace
