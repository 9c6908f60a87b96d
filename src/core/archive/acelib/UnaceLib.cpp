#include "core/archive/acelib/UnaceLib.h"

#include <memory>
#include <vector>

#include "core/archive/acelib/AceListing.h"

namespace kest::archive::acelib {

struct AceArchive {
    std::vector<ACEHeaderData> entries;
    size_t next = 0;
    bool headerRead = false;  // entries[next] was handed out and not yet skipped
};

AceHandle ACEOpenArchive(ACEOpenArchiveData* data) {
    if (!data) return nullptr;
    BufferedFile file;
    if (!file.Open(data->ArcName)) {
        data->OpenResult = kBadArchive;
        return nullptr;
    }
    auto archive = std::make_unique<AceArchive>();
    data->OpenResult = static_cast<unsigned>(ReadAceListing(file, archive->entries));
    // A damaged archive lists nothing, not the part before the fault.
    if (data->OpenResult != kSuccess) archive->entries.clear();
    return archive.release();
}

int ACEReadHeader(AceHandle handle, ACEHeaderData* header) {
    if (!handle || !header) return kBadArchive;
    if (handle->headerRead) ACEProcessFile(handle, kSkip, nullptr, nullptr);
    if (handle->next >= handle->entries.size()) return kEndArchive;
    *header = handle->entries[handle->next];
    handle->headerRead = true;
    return kSuccess;
}

int ACEProcessFile(AceHandle handle, int /*operation*/, const char* /*destPath*/,
                   const char* /*destName*/) {
    if (!handle) return kBadArchive;
    if (handle->headerRead) {
        ++handle->next;
        handle->headerRead = false;
    }
    return kSuccess;
}

int ACECloseArchive(AceHandle handle) {
    delete handle;
    return kSuccess;
}

}  // namespace kest::archive::acelib
