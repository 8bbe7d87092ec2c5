#include "tests/support/scratch_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path root = fs::temp_directory_path() /
                    ("iconextract-test-" + std::to_string(stamp) + "-" +
                     std::to_string(counter++));
    fs::create_directories(root);
    root_ = root.string();
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

// Joined as bytes: a name in the ANSI code page must reach the A functions unchanged, and
// std::filesystem would convert it (taking narrow text for UTF-8 under mingw).
std::string ScratchDir::Path(const std::string& name) const {
#ifdef _WIN32
    return root_ + "\\" + name;
#else
    return root_ + "/" + name;
#endif
}

std::string ScratchDir::Store(const std::string& name, const Bytes& bytes) const {
    std::string path = Path(name);
    WriteBytes(path, bytes);
    return path;
}

std::vector<std::string> ScratchDir::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}
