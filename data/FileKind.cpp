#include "data/FileKind.h"

std::string RefusedKindReason(FileKind kind)
{
    switch (kind) {
    case FILE_KIND_MISSING:
    case FILE_KIND_PLAIN:
        return {};
    case FILE_KIND_FOLDER:
        return "is a folder, not a file";
    case FILE_KIND_PIPE:
        return "is a named pipe, not a file";
    case FILE_KIND_DEVICE:
        return "is a device, not a file";
    case FILE_KIND_SOCKET:
        return "is a socket, not a file";
    case FILE_KIND_LINK_LOOP:
        return "is a loop of symbolic links";
    case FILE_KIND_OTHER:
        break;
    }
    return "is not a plain file";
}
