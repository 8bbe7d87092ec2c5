// Files for the tests: a fresh folder per test, and whole-file reads and writes.
#pragma once

#include <string>

#include "tests/support/icon_fixtures.h"

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // A path inside the folder, with the platform's separator.
    std::string Path(const std::string& name) const;
    // Writes a file of these bytes into the folder and gives its path.
    std::string Store(const std::string& name, const Bytes& bytes) const;
    // The names of the files in the folder, sorted.
    std::vector<std::string> Names() const;

private:
    std::string root_;
};

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
bool FileExists(const std::string& path);
