#include "tests/fuzz/fuzz_entries.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "iconextract/bmp_writer.h"
#include "iconextract/clipboard_copy.h"
#include "iconextract/extract_file_icon.h"
#include "iconextract/ico/ico_reader.h"
#include "iconextract/ico/ico_writer.h"
#include "platform/byte_order.h"
#include "platform/posix/standin_control.h"
#include "platform/scoped_handles.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Require(bool condition, const char* rule) {
    if (!condition) {
        std::fprintf(stderr, "fuzz: broken rule: %s\n", rule);
        std::abort();
    }
}

// A folder of this process's own, in memory where the system has one.
const std::string& WorkDir() {
    static const std::string dir = [] {
        struct stat info;
        std::string base = stat("/dev/shm", &info) == 0 ? "/dev/shm" : "/tmp";
        std::string path = base + "/iconextract-fuzz-" + std::to_string(getpid());
        mkdir(path.c_str(), 0700);
        return path;
    }();
    return dir;
}

std::string PathOf(const char* name) { return WorkDir() + "/" + name; }

void WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr, "the input file can be written");
    Require(size == 0 || std::fwrite(data, 1, size, file) == size, "the input is written whole");
    std::fclose(file);
}

bool ReadWhole(const std::string& path, Bytes* bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    bytes->clear();
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes->insert(bytes->end(), buffer, buffer + got);
    }
    std::fclose(file);
    return true;
}

// An ICO file as the writer lays it out: the header, the entries, then the images one after
// the other with no gap, and nothing after them; and the reader takes it back.
void RequireWholeIconFile(const std::string& path) {
    Bytes file;
    Require(ReadWhole(path, &file), "the ICO output can be read");
    Require(file.size() >= 6 && GetUi16(&file[0]) == 0 && GetUi16(&file[2]) == 1,
            "the ICO output has an icon header");
    uint32_t count = GetUi16(&file[4]);
    uint64_t end = 6 + 16ull * count;
    Require(end <= file.size(), "the ICO output holds its directory");
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = &file[6 + 16 * i];
        Require(GetUi32(entry + 12) == end, "images follow each other without gaps");
        end += GetUi32(entry + 8);
    }
    Require(end == file.size(), "the ICO output is neither cut short nor longer");
    Scoped<IconImageSetTraits> set(ReadIconFile(path.c_str()));
    Require(set.IsValid() && set.Get()->imageCount == count, "the ICO output reads back");
}

void RequireWholeBitmapFile(const std::string& path) {
    Bytes file;
    Require(ReadWhole(path, &file), "the BMP output can be read");
    Require(file.size() >= 54 && file[0] == 'B' && file[1] == 'M', "the BMP output is a bitmap");
    Require(GetUi32(&file[2]) == file.size(), "the BMP output is as long as it says");
    Require(GetUi32(&file[10]) <= file.size(), "the BMP bits lie inside the file");
}

void RequireNothingHeld() {
    StandinHeld held = StandinHeldResources();
    Require(held.files == 0, "no file is left open");
    Require(held.heapBlocks == 0, "no heap block is left");
    Require(held.globalBlocks == 0, "no global block is left that the clipboard does not own");
    Require(held.lockedGlobals == 0, "no global block is left locked");
    Require(held.modules == 0, "no module is left loaded");
    Require(!held.clipboardOpen, "the clipboard is closed");
}

void ClearClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

void CheckOutputs() {
    struct stat info;
    if (stat(PathOf("out.ico").c_str(), &info) == 0) {
        RequireWholeIconFile(PathOf("out.ico"));
    }
    if (stat(PathOf("out.bmp").c_str(), &info) == 0) {
        RequireWholeBitmapFile(PathOf("out.bmp"));
    }
}

void RemoveOutputs() {
    for (const char* name : {"out.ico", "out.bmp", "out.txt"}) {
        std::remove(PathOf(name).c_str());
    }
}

}  // namespace

void FuzzIconFile(const uint8_t* data, size_t size) {
    StandinResetFaults();
    RemoveOutputs();
    std::string source = PathOf("in.ico");
    WriteInput(source, data, size);
    {
        Scoped<IconImageSetTraits> set(ReadIconFile(source.c_str()));
        if (set.IsValid()) {
            IconImageSet* images = set.Get();
            if (WriteIconFile(images, PathOf("out.ico").c_str())) {
                RequireWholeIconFile(PathOf("out.ico"));
            }
            if (images->imageCount > 0) {
                if (WriteIconImageAsBmp(&images->images[0], PathOf("out.bmp").c_str())) {
                    RequireWholeBitmapFile(PathOf("out.bmp"));
                }
                CopyIconImageToClipboard(&images->images[0]);
            }
        }
    }
    ClearClipboard();
    RequireNothingHeld();
}

void FuzzModule(const uint8_t* data, size_t size) {
    StandinResetFaults();
    RemoveOutputs();
    std::string source = PathOf("in.dll");
    WriteInput(source, data, size);
    std::string out = PathOf("out.ico");
    int32_t count = ExtractFileIcon(source.c_str(), 0, out.c_str(), 1);
    Require(count >= 0 && count <= 0x1FFFE, "a module counts at most 131070 groups");
    CheckOutputs();
    for (int32_t index : {2, count, count + 1}) {
        RemoveOutputs();
        int32_t again = ExtractFileIcon(source.c_str(), 0, out.c_str(), index);
        Require(again == (index <= count ? count : 0), "every count is the same");
        CheckOutputs();
    }
    RequireNothingHeld();
}

void FuzzExtraction(const uint8_t* data, size_t size) {
    if (size < 2) {
        return;
    }
    static const char* const kSources[] = {"in.ico", "in.dll", "in.exe", "in.icl"};
    static const char* const kOutputs[] = {"out.ico", "out.bmp", nullptr, "out.txt"};
    uint8_t choice = data[0];
    uint8_t failingCall = data[1];
    std::string source = PathOf(kSources[choice & 3]);
    const char* output = kOutputs[(choice >> 2) & 3];
    int32_t index = (choice >> 4) - 2;
    StandinResetFaults();
    RemoveOutputs();
    WriteInput(source, data + 2, size - 2);
    if (failingCall != 0) {
        StandinFailAnyCall(failingCall);
    }
    int32_t result = output == nullptr
                         ? ExtractFileIcon(source.c_str(), 1, nullptr, index)
                         : ExtractFileIcon(source.c_str(), 0, PathOf(output).c_str(), index);
    StandinResetFaults();
    Require(result >= 0, "the result is a count");
    CheckOutputs();
    ClearClipboard();
    RequireNothingHeld();
}
