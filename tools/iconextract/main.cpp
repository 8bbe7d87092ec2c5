// iconextract: the command-line front end of ExtractFileIcon.
//   iconextract SOURCE DESTINATION [GROUP-INDEX]
//   iconextract --clipboard SOURCE [GROUP-INDEX]      (Windows builds only)
// Prints the result on a line of its own; exits 0 when it is above 0, 1 when it is 0, and 2 with
// a usage message when the arguments are wrong.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "iconextract/extract_file_icon.h"

namespace {

constexpr int kExitExtracted = 0;
constexpr int kExitNothing = 1;
constexpr int kExitUsage = 2;

int Usage(const char* problem) {
    if (problem != nullptr) {
        std::fprintf(stderr, "iconextract: %s\n", problem);
    }
    std::fputs(
        "usage: iconextract SOURCE DESTINATION [GROUP-INDEX]\n"
        "       iconextract --clipboard SOURCE [GROUP-INDEX]\n"
        "Takes icon group GROUP-INDEX (1-based; the first when left out) of SOURCE, an ICO file\n"
        "or a module (.exe, .dll, .icl), and writes it to DESTINATION: all its images as an ICO\n"
        "file when DESTINATION ends in \"ico\", its first image as a BMP file when it ends in\n"
        "\"bmp\". --clipboard puts the first image on the clipboard as a CF_DIB bitmap instead.\n"
        "Prints the number of icon groups in SOURCE, or 0 when no group could be chosen.\n",
        stderr);
    return kExitUsage;
}

// A whole decimal number in the 32-bit signed range.
bool ParseGroupIndex(const char* text, int32_t* index) {
    if (text[0] == '\0') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX) {
        return false;
    }
    *index = static_cast<int32_t>(value);
    return true;
}

int Report(int32_t result) {
    std::printf("%d\n", static_cast<int>(result));
    return result > 0 ? kExitExtracted : kExitNothing;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        Usage(nullptr);
        return kExitExtracted;
    }
    bool clipboard = argc >= 2 && std::strcmp(argv[1], "--clipboard") == 0;
    int first = clipboard ? 2 : 1;
    int paths = clipboard ? 1 : 2;
    int given = argc - first;
    if (given < paths || given > paths + 1) {
        return Usage("wrong number of arguments");
    }
    int32_t groupIndex = 1;
    if (given == paths + 1 && !ParseGroupIndex(argv[first + paths], &groupIndex)) {
        return Usage("GROUP-INDEX must be a whole number");
    }
    const char* source = argv[first];
    if (!clipboard) {
        return Report(ExtractFileIcon(source, kExtractToFile, argv[first + 1], groupIndex));
    }
#ifdef _WIN32
    return Report(ExtractFileIcon(source, kExtractToClipboard, "", groupIndex));
#else
    std::fputs(
        "iconextract: --clipboard needs the Windows build: this build's clipboard is only a store "
        "inside the process and ends with it\n",
        stderr);
    return kExitUsage;
#endif
}
