// Lists arbitrary bytes as a ACE archive through the four library calls.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/archive/acelib/UnaceLib.h"

namespace {

// One scratch file per process, rewritten for every input.
const std::string& ScratchFile() {
    static const std::string path = [] {
        char name[] = "/tmp/kest-ace-fuzz-XXXXXX";
        int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        return std::string(name);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kest::archive::acelib;
    FILE* file = fopen(ScratchFile().c_str(), "wb");
    if (!file) return 0;
    fwrite(data, 1, size, file);
    fclose(file);

    ACEOpenArchiveData open;
    open.ArcName = ScratchFile();
    AceHandle handle = ACEOpenArchive(&open);
    if (!handle) return 0;
    ACEHeaderData header;
    while (ACEReadHeader(handle, &header) == kSuccess)
        ACEProcessFile(handle, kSkip, nullptr, nullptr);
    ACECloseArchive(handle);
    return 0;
}
