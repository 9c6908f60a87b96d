#pragma once

#include <string>

#include "core/scan/FileFacts.h"
#include "core/scan/WalkSource.h"

namespace kest::scan {

class ContentHashes;
class RowBatch;
class ScanView;
struct ScanOptions;
struct ScanState;

// Lists the entries of a compressed file met by the walk and records them.
class ArchiveLister {
  public:
    virtual ~ArchiveLister() = default;
    // `type` is the archive type of the name (archive::ArchiveTypeOf).
    virtual void List(const ArchiveBytes& bytes, const std::string& type) = 0;
};

// Walks a drive (or a disc image) and stores one tblFiles row per file: a
// directory's own files in listing order, then its subdirectories, depth
// first. Symbolic links are stored as files and never followed.
class DirectoryWalk {
  public:
    // `root` is the drive's root, ending in "/".
    DirectoryWalk(std::string root, WalkSource& source, ScanState& state, RowBatch& batch,
                  ScanView& view, const ScanOptions& options, ArchiveLister* archives);

    // Walks `path` (the root or a folder below it, ending in "/") and
    // everything below it. Raises the scan-aborted error when the abort flag
    // is found set, and any error of the catalog or of the file system that
    // stops the walk.
    void WalkDirectory(const std::string& path, uint64_t handle = 0);
    // Reads every stored file's content for its hash (off unless set).
    void HashContents(ContentHashes* hashes) { m_hashes = hashes; }

  private:
    void StoreFile(const WalkEntry& entry, const std::string& path, const std::string& shownPath,
                   const std::string& dirText);

    std::string m_root;
    WalkSource& m_source;
    ScanState& m_state;
    RowBatch& m_batch;
    ScanView& m_view;
    const ScanOptions& m_options;
    ArchiveLister* m_archives;
    ContentHashes* m_hashes = nullptr;
    struct Scratch {
        std::string shownName, line, fullPath, status;
        FileFacts facts;
    } m_scratch;
};

}  // namespace kest::scan
