// The ACE reader, over our own listing library with the classic unACE calls.
#include "core/archive/LibraryListing.h"
#include "core/archive/acelib/UnaceLib.h"

namespace kest::archive {

namespace {

namespace ace = acelib;

struct AceLibrary {
    using Handle = ace::AceHandle;
    using Header = ace::ACEHeaderData;

    static Handle Open(const std::string& path, FileWindow window) {
        return OpenForListing(&ace::ACEOpenArchive, &ace::ACECloseArchive, path, window);
    }
    static int ReadHeader(Handle handle, Header& header) {
        return ace::ACEReadHeader(handle, &header);
    }
    static void Skip(Handle handle) { ace::ACEProcessFile(handle, ace::kSkip, nullptr, nullptr); }
    static void Close(Handle handle) { ace::ACECloseArchive(handle); }
    // Every ACE entry is counted and reported, directories included.
    static bool Listed(const Header&) { return true; }
    static void Fill(const Header& header, FileFound& entry) {
        FillFromHeader(header, header.Comment, entry);
    }
};

}  // namespace

void cArchive::GetAce() {
    ListThroughLibrary<AceLibrary>("GetAce");
}

}  // namespace kest::archive
