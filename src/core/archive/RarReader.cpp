// The RAR reader, over our own listing library with the classic unrar calls.
#include "core/archive/LibraryListing.h"
#include "core/archive/rarlib/UnrarLib.h"

namespace kest::archive {

namespace {

namespace rar = rarlib;

struct RarLibrary {
    using Handle = rar::RarHandle;
    using Header = rar::RARHeaderData;

    static Handle Open(const std::string& path, FileWindow window) {
        return OpenForListing(&rar::RAROpenArchive, &rar::RARCloseArchive, path, window);
    }
    static int ReadHeader(Handle handle, Header& header) {
        return rar::RARReadHeader(handle, &header);
    }
    static void Skip(Handle handle) { rar::RARProcessFile(handle, rar::kSkip, nullptr, nullptr); }
    static void Close(Handle handle) { rar::RARCloseArchive(handle); }
    // Directories, service and sub-headers are neither counted nor reported.
    static bool Listed(const Header& header) { return (header.Flags & rar::kNotAFile) == 0; }
    static void Fill(const Header& header, FileFound& entry) {
        FillFromHeader(header, header.CmtBuf, entry);
    }
};

}  // namespace

void cArchive::GetRar() {
    ListThroughLibrary<RarLibrary>("GetRar");
}

}  // namespace kest::archive
