#include "data/TilesetFile.h"
#include "data/TilesetTable.h"

#include "tests/support/TilesetFileBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ios>
#include <istream>
#include <streambuf>
#include <system_error>

namespace {

enum ReadFault {
    // As libstdc++'s file buffer fails when the system's read fails.
    READ_FAULT_THROWS,
    // As a library that takes a failed read for the end of the file.
    READ_FAULT_ENDS_EARLY,
};

// A file's bytes, read like a file: the stream can seek and so learn the
// length, and every read from failAt on fails.
class FailingFileBuffer : public std::streambuf {
public:
    FailingFileBuffer(const std::string& bytes, std::size_t failAt, ReadFault fault)
        : begin(const_cast<char*>(bytes.data())), size(static_cast<off_type>(bytes.size())),
          failAt(static_cast<off_type>(failAt)), fault(fault)
    {
        Seek(0);
    }

protected:
    int_type underflow() override
    {
        if (fault == READ_FAULT_THROWS) {
            errno = EIO;
            throw std::ios_base::failure("read failed", std::error_code(EIO, std::generic_category()));
        }
        return traits_type::eof();
    }
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction, std::ios_base::openmode) override
    {
        const off_type base = direction == std::ios_base::beg   ? 0
                              : direction == std::ios_base::end ? size
                                                                : Position();
        return Seek(base + offset);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override { return Seek(position); }

private:
    off_type Position() const { return beyondFailure >= 0 ? beyondFailure : gptr() - eback(); }

    pos_type Seek(off_type position)
    {
        if (position < 0 || position > size) {
            return pos_type(off_type(-1));
        }
        beyondFailure = position > failAt ? position : -1;
        setg(begin, begin + std::min(position, failAt), begin + failAt);
        return pos_type(position);
    }

    char* begin;
    off_type size;
    off_type failAt;
    ReadFault fault;
    // Where a seek past failAt left the position, which the get area cannot show.
    off_type beyondFailure = -1;
};

// Two entries of two slots each: a failure at every byte meets the header, a
// name, an ambient number and a slot field.
const std::string FILE_BYTES =
    Header(2, 2) + Entry("First", 11, {"f0", "f1"}, 2) + Entry("Second", 22, {"s0", "s1"}, 2);

TilesetFileResult ReadFailingAt(std::size_t failAt, ReadFault fault, TilesetTable& table)
{
    FailingFileBuffer buffer(FILE_BYTES, failAt, fault);
    std::istream in(&buffer);
    NameList names;
    return TilesetFile::Read(in, "failing", table, names);
}

TEST(TilesetFileReadError, FailureAtAnyByteFailsTheLoadAndLeavesNoRecords)
{
    for (const ReadFault fault : {READ_FAULT_THROWS, READ_FAULT_ENDS_EARLY}) {
        for (std::size_t failAt = 0; failAt < FILE_BYTES.size(); ++failAt) {
            SCOPED_TRACE(testing::Message() << "fault " << fault << " at byte " << failAt);
            TilesetTable table;
            TilesetFileResult result(TILESET_FILE_LOADED, "");
            EXPECT_NO_THROW(result = ReadFailingAt(failAt, fault, table));
            EXPECT_EQ(result.Status(), TILESET_FILE_READ_FAILED);
            EXPECT_FALSE(result.Reason().empty());
            EXPECT_EQ(table.RecordCount(), 0);
        }
    }
}

TEST(TilesetFileReadError, ReasonIsTheSystemsOrSaysTheFileEndedEarly)
{
    TilesetTable thrown;
    EXPECT_EQ(ReadFailingAt(40, READ_FAULT_THROWS, thrown).Reason(), std::generic_category().message(EIO));
    TilesetTable ended;
    const TilesetFileResult result = ReadFailingAt(40, READ_FAULT_ENDS_EARLY, ended);
    EXPECT_EQ(result.Message(), "The tileset file \"failing\" could not be read: fewer bytes could be read than the "
                                "file holds. Nothing was loaded, and saving will not replace the file.");
}

TEST(TilesetFileReadError, BufferThatFailsOnlyAfterTheEndLoadsTheWholeFile)
{
    for (const ReadFault fault : {READ_FAULT_THROWS, READ_FAULT_ENDS_EARLY}) {
        TilesetTable table;
        const TilesetFileResult result = ReadFailingAt(FILE_BYTES.size(), fault, table);
        EXPECT_EQ(result.Status(), TILESET_FILE_LOADED);
        ASSERT_EQ(table.RecordCount(), 2);
        EXPECT_EQ(NameOf(table.RecordAt(1)), "Second");
        EXPECT_STREQ(table.RecordAt(1).slots[1], "s1");
    }
}

} // namespace
