// Named pipes, sockets and file names that Windows does not allow, which only POSIX systems have.
#include "data/FileSave.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/tools/ToolTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include <csignal>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
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

// The child's save stops itself at stage with signal, as a crash or a kill would.
template <SaveStage stage, int signal>
void StopAt(SaveStage reached)
{
    if (reached == stage) {
        raise(signal);
    }
}

// What a table holds after a save was cut off in it.
enum TableLeft { OLD_TABLE, HALF_WRITTEN, NEW_TABLE };

struct CutOffSaveCase {
    const char* name;
    SaveStageHook stop;
    TableLeft table;
    bool copyLeft;
    // True where the copy differs from the table: a cut-off save to choose about.
    bool told;
};

// The table has a second name, so that the save writes into it. A save that
// is stopped rather than killed still holds its copy, which is no cut-off save.
const CutOffSaveCase CUT_OFF_SAVE_CASES[] = {
    {"DuringTheCopysWrite", StopAt<SAVE_STAGE_COPY_PART_WRITTEN, SIGKILL>, OLD_TABLE, false, false},
    {"AfterTheCopyWasMarkedWhole", StopAt<SAVE_STAGE_COPY_MARKED_WHOLE, SIGKILL>, OLD_TABLE, true, true},
    {"DuringTheWriteIntoTheTable", StopAt<SAVE_STAGE_IN_PLACE_PART_WRITTEN, SIGKILL>, HALF_WRITTEN, true, true},
    {"BeforeTheCopysRemoval", StopAt<SAVE_STAGE_IN_PLACE_FLUSHED, SIGKILL>, NEW_TABLE, true, false},
    {"HeldByASaveStillRunning", StopAt<SAVE_STAGE_IN_PLACE_PART_WRITTEN, SIGSTOP>, HALF_WRITTEN, true, false},
};

// The demo table with a change in its first name and in its last slot, so
// that each half of the file differs.
std::string ChangedDemo()
{
    std::string bytes = DemoFileBytes();
    bytes[5] = bytes[5] == 'Q' ? 'R' : 'Q';
    const std::size_t lastSlot = bytes.size() - 32;
    bytes[lastSlot] = bytes[lastSlot] == 'Z' ? 'Y' : 'Z';
    return bytes;
}

TEST(TableToolCutOffSave, IsToldByCheckAndTextconvAndRefusedByASaveUntilChosen)
{
    const std::string oldTable = DemoFileBytes();
    const std::string newTable = ChangedDemo();
    const std::size_t half = newTable.size() / 2;
    const std::string left[] = {oldTable, newTable.substr(0, half) + oldTable.substr(half), newTable};
    for (const CutOffSaveCase& c : CUT_OFF_SAVE_CASES) {
        SCOPED_TRACE(c.name);
        const TemporaryFolder folder;
        const std::string table = folder.Path("qx7set.dat");
        const std::string copy = table + ".whole";
        WriteFileBytes(table, oldTable);
        std::filesystem::create_hard_link(table, folder.Path("link"));
        const pid_t child = fork();
        if (child == 0) {
            SaveFile(table, newTable, {SAVE_WAY_CHOSEN, c.stop});
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, WUNTRACED), child);
        ASSERT_TRUE(WIFSIGNALED(status) || WIFSTOPPED(status));
        EXPECT_EQ(ReadFileBytes(table), left[c.table]);
        ASSERT_EQ(std::filesystem::exists(copy), c.copyLeft);
        if (c.copyLeft) {
            EXPECT_EQ(ReadFileBytes(copy), newTable);
        }

        const std::string problem = "a save was cut off while writing into the table; " + copy +
                                    " holds the whole table that save was writing";
        const ToolRun check = RunTool({"check", table});
        EXPECT_EQ(check.code, c.told ? TABLE_TOOL_EXIT_PROBLEMS : TABLE_TOOL_EXIT_OK);
        EXPECT_EQ(check.out, c.told ? std::string(table).append(": ").append(problem).append("\n") : "");
        const ToolRun textconv = RunTool({"dump", "--textconv", table});
        EXPECT_EQ(textconv.code, TABLE_TOOL_EXIT_OK);
        EXPECT_EQ(textconv.out.find("problem: " + problem) != std::string::npos, c.told) << textconv.out;
        if (WIFSTOPPED(status)) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            EXPECT_EQ(RunTool({"check", table}).code, TABLE_TOOL_EXIT_PROBLEMS);
            continue;
        }
        const ToolRun build = RunTool({"build", "-", "-o", table}, RunTool({"dump", "-"}, oldTable).out);
        EXPECT_EQ(build.code, c.told ? TABLE_TOOL_EXIT_FAILED : TABLE_TOOL_EXIT_OK);
        const std::string refusal = std::string("kestrivane-table: ")
                                        .append(table)
                                        .append(": is not written: ")
                                        .append(problem)
                                        .append(". Remove that copy to keep the table as it is, or put it in place "
                                                "of the table, then run again\n");
        EXPECT_EQ(build.err, c.told ? refusal : "");
        const std::vector<std::string> entries = {"link", "qx7set.dat", "qx7set.dat.whole"};
        EXPECT_EQ(folder.Entries(), std::vector<std::string>(entries.begin(), entries.end() - (c.told ? 0 : 1)));
        EXPECT_EQ(ReadFileBytes(table), c.told ? left[c.table] : oldTable);
    }
}

} // namespace
