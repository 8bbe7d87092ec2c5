// Every input that a fuzzer once found a fault with, saved under tests/fuzz/regressions/TARGET/,
// run again through the fuzz target's own code. A broken rule aborts the run.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/fuzz/fuzz_entries.h"
#include "tests/support/scratch_files.h"

namespace {

namespace fs = std::filesystem;

int RunAll(const char* target, void (*entry)(const uint8_t*, size_t)) {
    int inputs = 0;
    fs::path dir = fs::path(FUZZ_REGRESSIONS_DIR) / target;
    for (const auto& file : fs::directory_iterator(dir)) {
        if (!file.is_regular_file() || file.path().filename() == ".keep") {
            continue;
        }
        SCOPED_TRACE(file.path().string());
        Bytes bytes = ReadBytes(file.path().string());
        entry(bytes.data(), bytes.size());
        ++inputs;
    }
    return inputs;
}

TEST(FuzzRegressions, IconFiles) { RunAll("icon_file", FuzzIconFile); }
TEST(FuzzRegressions, Modules) { RunAll("module", FuzzModule); }
TEST(FuzzRegressions, Extractions) { RunAll("extraction", FuzzExtraction); }

}  // namespace
