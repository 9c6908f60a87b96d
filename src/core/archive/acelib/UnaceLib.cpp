#include "core/archive/acelib/UnaceLib.h"

#include "core/archive/acelib/AceListing.h"
#include "core/archive/rarlib/EntryQueue.h"

namespace kest::archive::acelib {

struct AceArchive : EntryQueue<ACEHeaderData> {};

AceHandle ACEOpenArchive(ACEOpenArchiveData* data) {
    return OpenListing<AceArchive>(data, kBadArchive, ReadAceListing);
}

int ACEReadHeader(AceHandle handle, ACEHeaderData* header) {
    if (!handle || !header) return kBadArchive;
    return handle->Read(*header) ? kSuccess : kEndArchive;
}

int ACEProcessFile(AceHandle handle, int /*operation*/, const char* /*destPath*/,
                   const char* /*destName*/) {
    if (!handle) return kBadArchive;
    handle->Skip();
    return kSuccess;
}

int ACECloseArchive(AceHandle handle) {
    delete handle;
    return kSuccess;
}

}  // namespace kest::archive::acelib
