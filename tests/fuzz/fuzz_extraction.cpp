// libFuzzer target: see FuzzExtraction in fuzz_entries.h.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzExtraction(data, size);
    return 0;
}
