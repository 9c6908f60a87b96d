// Lists arbitrary bytes as a RAR archive through the four library calls.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/archive/rarlib/UnrarLib.h"

namespace {

// One scratch file per process, rewritten for every input.
const std::string& ScratchFile() {
    static const std::string path = [] {
        char name[] = "/tmp/kest-rar-fuzz-XXXXXX";
        int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        return std::string(name);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kest::archive::rarlib;
    FILE* file = fopen(ScratchFile().c_str(), "wb");
    if (!file) return 0;
    fwrite(data, 1, size, file);
    fclose(file);

    RAROpenArchiveData open;
    open.ArcName = ScratchFile();
    RarHandle handle = RAROpenArchive(&open);
    if (!handle) return 0;
    RARHeaderData header;
    while (RARReadHeader(handle, &header) == kSuccess)
        RARProcessFile(handle, kSkip, nullptr, nullptr);
    RARCloseArchive(handle);
    return 0;
}
