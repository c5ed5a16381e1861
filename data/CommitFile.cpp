#include "data/CommitFile.h"

#include "data/CommitFileSystem.h"

#include <algorithm>

namespace {

const int TEMP_NAME_ATTEMPTS = 100;
const std::size_t WRITE_PIECE_LIMIT = 1 << 20;

// The process id keeps two running editors apart; the attempt steps past names
// that are taken, by a file of the user's or one left by a save cut off.
std::string TempFileName(const std::string& targetPath, unsigned long processId, int attempt)
{
    return targetPath + "." + std::to_string(processId) + "-" + std::to_string(attempt) + ".tmp";
}

} // namespace

std::size_t NextPieceSize(const std::string& bytes, std::size_t written)
{
    return std::min(bytes.size() - written, WRITE_PIECE_LIMIT);
}

TempFileResult WriteTempFile(const std::string& targetPath, const std::string& bytes)
{
    for (int attempt = 0; attempt < TEMP_NAME_ATTEMPTS; ++attempt) {
        const std::string tempPath = TempFileName(targetPath, CurrentProcessId(), attempt);
        const NewFileWrite write = WriteNewFile(tempPath, targetPath, bytes);
        if (write.status == NEW_FILE_WRITTEN) {
            return {true, tempPath, {}};
        }
        if (write.status == NEW_FILE_FAILED) {
            return {false, {}, write.reason};
        }
    }
    return {false, {}, "every name tried for a temporary file is taken"};
}
