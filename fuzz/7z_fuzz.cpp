#include "FuzzListing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kest::fuzz::ListBytes(data, size, "7z");
}
