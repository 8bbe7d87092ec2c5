// libFuzzer target: see FuzzIconFile in fuzz_entries.h.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzIconFile(data, size);
    return 0;
}
