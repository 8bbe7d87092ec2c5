#include "iconextract/path_ending.h"

#include <cstring>

#include "platform/win32_api.h"

void PathEnding(const char* path, char (&ending)[4]) {
    size_t length = path == nullptr ? 0 : std::strlen(path);
    size_t taken = length < 3 ? length : 3;
    if (taken > 0) {
        std::memcpy(ending, path + length - taken, taken);
    }
    ending[taken] = '\0';
    CharLowerBuffA(ending, static_cast<DWORD>(taken));
}

SourceKind SourceKindOf(const char* path) {
    char ending[4];
    PathEnding(path, ending);
    if (std::strcmp(ending, "ico") == 0) {
        return SourceKind::IconFile;
    }
    if (std::strcmp(ending, "exe") == 0 || std::strcmp(ending, "dll") == 0 ||
        std::strcmp(ending, "icl") == 0) {
        return SourceKind::Module;
    }
    return SourceKind::Unsupported;
}

DestinationKind DestinationKindOf(const char* path) {
    char ending[4];
    PathEnding(path, ending);
    if (std::strcmp(ending, "ico") == 0) {
        return DestinationKind::IconFile;
    }
    if (std::strcmp(ending, "bmp") == 0) {
        return DestinationKind::Bitmap;
    }
    return DestinationKind::Other;
}
