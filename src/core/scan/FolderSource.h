#pragma once

#include <dirent.h>

#include "core/scan/FileFacts.h"
#include "core/scan/WalkSource.h"

namespace kest::scan {

// The walk over the file system: a mounted disc or a folder.
class FolderSource : public WalkSource {
  public:
    FolderSource(Prompter& prompter, ScanView& view) : m_facts(prompter, &view) {}
    ~FolderSource() override { Close(); }
    FolderSource(const FolderSource&) = delete;
    FolderSource& operator=(const FolderSource&) = delete;

    bool List(const std::string& path, uint64_t handle, std::vector<WalkEntry>& entries,
              std::string& reason) override;
    void Close() override;
    void ReadFacts(const std::string& fullPath, const WalkEntry& entry,
                   std::string_view relativePath, FileFacts& facts) override;
    void Hash(ContentHashes& hashes, const WalkEntry& entry, std::string_view storedDir,
              std::string_view storedName, ScanLog& log) override;
    std::optional<ArchiveBytes> BytesOf(const std::string& fullPath, const WalkEntry& entry,
                                        std::string& reason) override;
    int64_t CountFiles(const std::string& root) override;

  private:
    DIR* m_dir = nullptr;
    FileFactsReader m_facts;
};

}  // namespace kest::scan
