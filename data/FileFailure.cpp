#include "data/FileFailure.h"

#include "data/FileKind.h"

#include <system_error>

std::string FileFailure::Text() const
{
    switch (kind) {
    case FILE_FAILURE_NONE:
        break;
    case FILE_FAILURE_MISSING:
        return "no such file";
    case FILE_FAILURE_FOLDER:
        return RefusedKindReason(FILE_KIND_FOLDER);
    case FILE_FAILURE_OPEN:
        return "cannot be opened: " + SystemErrorText(systemError);
    case FILE_FAILURE_READ:
        return "reading failed";
    }
    return {};
}

std::string SystemErrorText(int error)
{
    return error != 0 ? std::generic_category().message(error) : "the system gave no reason";
}
