#pragma once

#include <climits>
#include <string>

#include "core/archive/ArchiveHelpers.h"
#include "core/archive/cArchive.h"
#include "core/text/CodePages.h"

namespace kest::archive {

// The values of a library's header record (both libraries name the fields
// alike); text fields end at their first NUL. Names are UTF-8 when the
// archive keeps them so (RAR's Unicode names, RAR 5), else code page 437.
template <class Header>
void FillFromHeader(const Header& header, const std::string& comment, FileFound& entry) {
    const std::string& stored = header.FileName;
    SplitName name = SplitPath(text::DecodeStoredText(
        std::string_view(stored).substr(0, stored.find('\0')), text::CodePage::Cp437));
    entry.Directory = std::move(name.directory);
    entry.FileName = std::move(name.fileName);
    entry.FileDate = DosToDate(header.FileTime);
    entry.FileSize = static_cast<int64_t>(header.UnpSize);
    entry.PackedSize = static_cast<int64_t>(header.PackSize);
    entry.Method = static_cast<int32_t>(header.Method);
    entry.Attributes = static_cast<int32_t>(header.FileAttr);
    entry.Flags = static_cast<int32_t>(header.Flags);
    entry.Crc = header.FileCRC;
    entry.Comment = text::DecodeStoredText(std::string_view(comment).substr(0, comment.find('\0')),
                                           text::CodePage::Cp437);
}

// Opens an archive through a library's open call: the handle when it is open
// for listing; a handle given with a non-zero result is closed.
template <class OpenData, class Handle>
Handle OpenForListing(Handle (*open)(OpenData*), int (*close)(Handle), const std::string& path,
                      FileWindow window) {
    OpenData data;
    data.ArcName = path;
    data.Window = window;
    data.OpenMode = 0;  // list
    Handle handle = open(&data);
    if (data.OpenResult == 0) return handle;
    if (handle) close(handle);
    return nullptr;
}

// A listing library has the four calls of the classic interface. Library gives
//   Handle, Header, Open(path, window) -> Handle (null unless open for listing),
//   ReadHeader(Handle, Header&) -> 0 while there are entries, Skip(Handle),
//   Close(Handle), Listed(Header) -> whether the entry is reported, and
//   Fill(Header, FileFound&).
// The archive is opened twice: the first pass counts, so EntryCount is known
// before the first entry is reported.
template <class Library>
void cArchive::ListThroughLibrary(const char* reader) {
    using Handle = typename Library::Handle;
    struct OpenArchive {
        Handle handle = nullptr;
        ~OpenArchive() {
            if (handle) Library::Close(handle);
        }
    };

    {
        OpenArchive archive;
        auto open = [&] { archive.handle = Library::Open(m_archivePath, m_window); };
        if (Step(reader, 10, open) == StepResult::Cancelled || !archive.handle) return;
        auto count = [&] {
            typename Library::Header header;
            while (m_entryCount < INT32_MAX && Library::ReadHeader(archive.handle, header) == 0) {
                Library::Skip(archive.handle);
                if (Library::Listed(header)) ++m_entryCount;
            }
        };
        if (Step(reader, 20, count) == StepResult::Cancelled) return;
    }

    OpenArchive archive;
    auto open = [&] { archive.handle = Library::Open(m_archivePath, m_window); };
    if (Step(reader, 30, open) == StepResult::Cancelled || !archive.handle) return;
    int32_t n = 0;
    while (n < m_entryCount) {
        typename Library::Header header;
        int code = 0;
        StepResult read =
            Step(reader, 40, [&] { code = Library::ReadHeader(archive.handle, header); });
        // After Retry the entry goes on with what the header holds.
        if (read == StepResult::Cancelled || code != 0) return;
        Library::Skip(archive.handle);
        if (!Library::Listed(header)) continue;
        ++n;
        FileFound entry;
        Library::Fill(header, entry);
        if (Step(reader, 50, [&] { Report(entry, n); }) == StepResult::Cancelled) return;
        if (m_host.CancelRequested()) return;
    }
}

}  // namespace kest::archive
