// Feeds arbitrary bytes to the tileset file loader. Besides the sanitizers'
// findings it checks that saving is a fixed point: whatever was loaded, the
// saved bytes load and save again to the same bytes.

#include "data/TilesetFile.h"
#include "data/TilesetFileFormat.h"
#include "data/TilesetNameSink.h"
#include "data/TilesetTable.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>

namespace {

const std::size_t HEADER_BYTES = TilesetFileFormat::HEADER_SIZE;
const std::size_t SAVED_ENTRY_BYTES = TilesetFileFormat::SAVED_ENTRY_SIZE;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "tileset file fuzzer: %s\n", what);
        std::abort();
    }
}

class CountingSink : public TilesetNameSink {
public:
    void AddName(const char* name) override
    {
        Require(std::strlen(name) < NAME_FIELD_SIZE, "a listed name is longer than 31 bytes");
        ++count;
    }
    int count = 0;
};

// Reads from bytes in place.
class InputBuffer : public std::streambuf {
public:
    InputBuffer(const char* bytes, std::size_t size)
    {
        char* begin = const_cast<char*>(bytes);
        setg(begin, begin, begin + size);
    }
};

// Appends to a string whose storage outlives the input.
class OutputBuffer : public std::streambuf {
public:
    explicit OutputBuffer(std::string& bytes) : bytes(bytes) { bytes.clear(); }

protected:
    std::streamsize xsputn(const char* data, std::streamsize count) override
    {
        bytes.append(data, static_cast<std::size_t>(count));
        return count;
    }
    int_type overflow(int_type byte) override
    {
        if (!traits_type::eq_int_type(byte, traits_type::eof())) {
            bytes += traits_type::to_char_type(byte);
        }
        return traits_type::not_eof(byte);
    }

private:
    std::string& bytes;
};

// Tables and strings of up to 1.2 MB each, kept from one input to the next: new
// ones for every input would spend the run in the allocator and in page faults.
struct Workspace {
    TilesetTable table;
    TilesetTable reloaded;
    std::string once;
    std::string twice;
};

TilesetFileResult Load(const char* bytes, std::size_t size, TilesetTable& table, CountingSink& sink)
{
    table.SetRecordCount(0);
    InputBuffer buffer(bytes, size);
    std::istream in(&buffer);
    return TilesetFile::Read(in, "fuzz input", table, sink);
}

void Save(const TilesetTable& table, std::string& bytes)
{
    OutputBuffer buffer(bytes);
    std::ostream out(&buffer);
    Require(TilesetFile::Write(table, out), "writing to memory failed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static Workspace work;
    CountingSink names;
    const TilesetFileResult result = Load(reinterpret_cast<const char*>(data), size, work.table, names);
    if (!result.Succeeded()) {
        Require(result.Status() == TILESET_FILE_TOO_MANY_SLOTS, "a load in memory failed for another reason");
        Require(work.table.RecordCount() == 0 && names.count == 0, "a refused file left records or names");
        return 0;
    }
    Require(names.count <= work.table.RecordCount(), "more names listed than records");

    Save(work.table, work.once);
    Require(work.once.size() == HEADER_BYTES + SAVED_ENTRY_BYTES * static_cast<std::size_t>(work.table.RecordCount()),
            "the saved size is not 5 + 4865 bytes per record");
    CountingSink reloadedNames;
    Require(Load(work.once.data(), work.once.size(), work.reloaded, reloadedNames).Succeeded(),
            "the saved bytes do not load");
    Require(reloadedNames.count == work.reloaded.RecordCount(), "a saved entry was not listed on reloading");
    Save(work.reloaded, work.twice);
    Require(work.twice == work.once, "saving is not a fixed point");
    return 0;
}
