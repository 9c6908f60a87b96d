// The 7z, ISO 9660 and TAR reader, over libarchive. The entry count is not
// known before the last header (a compressed TAR would be read twice to
// count it), so each entry carries the count judged from how far into the
// file the listing has come.
#include <algorithm>

#include "core/archive/ArchiveFile.h"
#include "core/archive/ArchiveHelpers.h"
#include "core/archive/PackedListing.h"
#include "core/archive/cArchive.h"

namespace kest::archive {

namespace {

const char* ReaderName(const std::string& type) {
    if (type == "7z") return "Get7z";
    if (type == "iso") return "GetIso";
    return "GetTar";
}

// What a 7z with encrypted headers gives: one entry that says so.
void FillEncryptedHeaders(uint64_t archiveSize, FileFound& entry) {
    entry.FileName = "(encrypted headers)";
    entry.FileDate = FileTimeToDate(0, false);  // unknown, as for the other kinds
    entry.Comment = "The names of the entries are encrypted.";
    entry.PackedSize = static_cast<int64_t>(archiveSize);
    entry.Flags = 0x1;  // encrypted
}

}  // namespace

void cArchive::GetPacked() {
    const char* reader = ReaderName(m_archiveType);
    auto file = ArchiveFile::Open(m_archivePath, m_window);
    if (!file || file->Size() == 0) return;
    PackedListing listing(*file, m_archiveType);
    bool open = false;
    if (Step(reader, 10, [&] { open = listing.Open(); }) != StepResult::Done || !open) return;

    int32_t listed = 0;
    for (;;) {
        FileFound entry;
        auto next = PackedListing::Next::End;
        StepResult read = Step(reader, 20, [&] { next = listing.Read(entry); });
        if (read == StepResult::Cancelled) return;
        // After Retry the listing goes on with the next header, unless the
        // reader cannot read any further.
        if (read == StepResult::Retried) {
            if (listing.Failed()) return;
            continue;
        }
        if (next == PackedListing::Next::End || next == PackedListing::Next::NotAnArchive) return;
        if (next == PackedListing::Next::Directory) continue;
        if (next == PackedListing::Next::HeadersEncrypted)
            FillEncryptedHeaders(file->Size(), entry);
        ++listed;
        m_entryCount = std::max(m_entryCount, listing.EstimatedCount(listed));
        if (Step(reader, 30, [&] { Report(entry, listed); }) == StepResult::Cancelled) return;
        if (next == PackedListing::Next::HeadersEncrypted || m_host.CancelRequested()) return;
    }
}

}  // namespace kest::archive
