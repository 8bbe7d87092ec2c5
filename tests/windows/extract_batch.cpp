// extract_batch LIST: runs ExtractFileIcon(SOURCE, 0, DESTINATION, INDEX) for each line
// "SOURCE<TAB>INDEX<TAB>DESTINATION" of the file LIST, in one process, and prints each result on
// a line of its own: hundreds of extractions under Wine for the price of one start.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "iconextract/extract_file_icon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: extract_batch LIST\n", stderr);
        return 2;
    }
    std::FILE* list = std::fopen(argv[1], "rb");
    if (list == nullptr) {
        std::fprintf(stderr, "extract_batch: cannot read %s\n", argv[1]);
        return 2;
    }
    static char line[3 * 1024];
    while (std::fgets(line, sizeof line, list) != nullptr) {
        line[std::strcspn(line, "\r\n")] = '\0';
        char* index = std::strchr(line, '\t');
        char* destination = index == nullptr ? nullptr : std::strchr(index + 1, '\t');
        if (destination == nullptr) {
            std::fprintf(stderr, "extract_batch: bad line: %s\n", line);
            return 2;
        }
        *index++ = '\0';
        *destination++ = '\0';
        std::printf("%d\n", static_cast<int>(ExtractFileIcon(line, 0, destination, std::atoi(index))));
    }
    std::fclose(list);
    return 0;
}
