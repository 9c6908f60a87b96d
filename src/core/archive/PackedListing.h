#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/ArchiveFile.h"
#include "core/archive/FileFound.h"

struct archive;
struct archive_entry;

namespace kest::archive {

// One libarchive reader over an open archive file, for the 7z, TAR (plain or
// compressed) and ISO 9660 kinds: headers only, an entry's data is skipped
// (free for 7z, ISO and plain TAR; a compressed TAR is decompressed past it).
// Names are read as UTF-8: the listing runs in the C.UTF-8 locale.
class PackedListing {
  public:
    enum class Next { Entry, Directory, End, NotAnArchive, HeadersEncrypted };

    PackedListing(const ArchiveFile& file, std::string type);
    ~PackedListing();
    PackedListing(const PackedListing&) = delete;
    PackedListing& operator=(const PackedListing&) = delete;

    // Opens the reader: false when the file is not an archive of the type;
    // a failure raises the error to show.
    bool Open();
    // Reads the next header into the entry (its name, date, sizes, method,
    // attributes and encryption flag). A damaged header raises the error to
    // show; after a fatal one Failed() says nothing more can be read.
    Next Read(FileFound& entry);
    bool Failed() const { return m_failed; }
    // How many entries the archive holds, judged from how far into the file
    // the entries read so far reach (at least `listed`).
    int32_t EstimatedCount(int32_t listed) const;

  private:
    struct Source;
    [[noreturn]] void Raise(int status);
    void Fill(::archive_entry* header, FileFound& entry) const;

    std::unique_ptr<Source> m_source;
    std::string m_type;
    struct archive* m_archive = nullptr;
    bool m_failed = false;
    bool m_any = false;      // a header was read
    uint64_t m_entries = 0;  // headers read, directories included
};

}  // namespace kest::archive
