#include "core/archive/rarlib/UnrarLib.h"

#include <array>
#include <vector>

#include "core/archive/rarlib/EntryQueue.h"
#include "core/archive/rarlib/RarListing.h"

namespace kest::archive::rarlib {

struct RarArchive : EntryQueue<RARHeaderData> {};

namespace {

// The common start of both signatures; the byte after it tells the versions
// apart.
constexpr std::array<uint8_t, 6> kSignatureStart = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07};
// How far into a file a self-extracting stub may push the archive.
constexpr uint64_t kMaxStubSize = uint64_t{4} * 1024 * 1024;

}  // namespace

int ReadRarListing(BufferedFile& file, std::vector<RARHeaderData>& entries) {
    for (uint64_t from = 0;;) {
        auto at = file.Find(kSignatureStart, from, kMaxStubSize);
        if (!at) return kBadArchive;
        auto tail = file.Read(*at + kSignatureStart.size(), 2);
        if (tail.size() == 2 && tail[0] == 0x00)
            return ReadRar4Listing(file, *at + kSignatureStart.size() + 1, entries);
        if (tail.size() == 2 && tail[0] == 0x01 && tail[1] == 0x00)
            return ReadRar5Listing(file, *at + kSignatureStart.size() + 2, entries);
        from = *at + 1;
    }
}

RarHandle RAROpenArchive(RAROpenArchiveData* data) {
    return OpenListing<RarArchive>(data, kEOpen, ReadRarListing);
}

int RARReadHeader(RarHandle handle, RARHeaderData* header) {
    if (!handle || !header) return kBadArchive;
    return handle->Read(*header) ? kSuccess : kEndArchive;
}

int RARProcessFile(RarHandle handle, int /*operation*/, const char* /*destPath*/,
                   const char* /*destName*/) {
    if (!handle) return kBadArchive;
    handle->Skip();
    return kSuccess;
}

int RARCloseArchive(RarHandle handle) {
    delete handle;
    return kSuccess;
}

}  // namespace kest::archive::rarlib
