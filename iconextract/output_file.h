// A destination file being written. It is created empty (an existing file is replaced); unless
// Keep() is called after the last write, the owner closes and removes it, so that a failed write
// never leaves a truncated file behind.
#pragma once

#include <cstdint>

#include "platform/scoped_handles.h"

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the file for writing without sharing; false when it cannot be created, and then
    // nothing on disk has changed.
    bool Create(const char* path);
    // One WriteFile of all `count` bytes; false unless it succeeds and writes every byte.
    bool Write(const void* bytes, uint32_t count);
    // Closes the complete file and keeps it.
    void Keep();
    HANDLE Handle() const { return file_.Get(); }

private:
    ScopedFileHandle file_;
    const char* path_ = nullptr;
};

// One WriteFile of all `count` bytes to an open file; false unless every byte was written.
bool WriteAllBytes(HANDLE file, const void* bytes, uint32_t count);
