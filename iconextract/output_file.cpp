#include "iconextract/output_file.h"

bool WriteAllBytes(HANDLE file, const void* bytes, uint32_t count) {
    DWORD written = 0;
    return WriteFile(file, bytes, count, &written, nullptr) != FALSE && written == count;
}

OutputFile::~OutputFile() {
    if (file_.IsValid()) {
        file_.Reset();
        DeleteFileA(path_);
    }
}

bool OutputFile::Create(const char* path) {
    file_.Reset(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    path_ = path;
    return file_.IsValid();
}

bool OutputFile::Write(const void* bytes, uint32_t count) {
    return file_.IsValid() && WriteAllBytes(file_.Get(), bytes, count);
}

void OutputFile::Keep() { file_.Reset(); }
