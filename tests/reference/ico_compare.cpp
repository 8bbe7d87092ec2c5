// ico_compare ORIGINAL COPY: checks that COPY holds the images of ORIGINAL in the same order,
// byte for byte, except bytes 20 to 23 (biSizeImage) of DIB images, which COPY must hold as 0.
// A reader of its own, independent of the extractor's. Exits 0 when they agree, 1 otherwise.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Le(const Bytes& b, size_t at, int width) {
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | b[at + static_cast<size_t>(i)];
    }
    return value;
}

bool Images(const char* path, std::vector<Bytes>* images, std::string* problem) {
    std::ifstream in(path, std::ios::binary);
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < 6 || Le(file, 0, 2) != 0 || Le(file, 2, 2) != 1) {
        *problem = std::string(path) + ": not an icon file";
        return false;
    }
    uint32_t count = Le(file, 4, 2);
    if (file.size() < 6 + 16ull * count) {
        *problem = std::string(path) + ": directory cut short";
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        uint64_t length = Le(file, 6 + 16 * i + 8, 4);
        uint64_t offset = Le(file, 6 + 16 * i + 12, 4);
        if (offset + length > file.size()) {
            *problem = std::string(path) + ": image " + std::to_string(i) + " past the end";
            return false;
        }
        images->emplace_back(file.begin() + static_cast<std::ptrdiff_t>(offset),
                             file.begin() + static_cast<std::ptrdiff_t>(offset + length));
    }
    return true;
}

bool IsPng(const Bytes& image) {
    return image.size() >= 8 && std::memcmp(image.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: ico_compare ORIGINAL COPY\n", stderr);
        return 2;
    }
    std::vector<Bytes> original, copy;
    std::string problem;
    if (!Images(argv[1], &original, &problem) || !Images(argv[2], &copy, &problem)) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    if (original.size() != copy.size()) {
        std::fprintf(stderr, "%s: %zu images, the copy %zu\n", argv[1], original.size(), copy.size());
        return 1;
    }
    for (size_t i = 0; i < original.size(); ++i) {
        Bytes expected = original[i];
        if (!IsPng(expected) && expected.size() >= 24) {
            std::memset(expected.data() + 20, 0, 4);
        }
        if (copy[i] != expected) {
            std::fprintf(stderr, "%s: image %zu differs in the copy\n", argv[1], i);
            return 1;
        }
    }
    return 0;
}
