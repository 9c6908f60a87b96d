#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "core/engine/Statement.h"
#include "core/explore/TreeItems.h"

namespace kest::explore {

// A folder's files in a chosen order, handed out a few at a time.
class FileReader {
  public:
    virtual ~FileReader() = default;
    // Appends up to max more files; false when none were left.
    virtual bool Next(std::vector<FileItem>& out, size_t max) = 0;
    bool AtEnd() const { return m_atEnd; }

  protected:
    bool m_atEnd = false;
};

// What a file row and an archive entry row share, from a statement's first
// seven columns: the id (FileId or SubFileId), folder, name, attributes,
// size, date and description (or comment).
FileItem ItemOfRow(const engine::Statement& row);

// Files read from a statement as they are asked for. Its columns: FileId,
// FileDir, FileName, FileAtt, FileSize, FileDate, FileDesc, whether the file
// has entries.
std::unique_ptr<FileReader> StatementReader(engine::Statement statement);

// Files already at hand (an archive's entries), sorted at once, from the
// skip-th on.
std::unique_ptr<FileReader> ListReader(std::vector<FileItem> files, FileOrder order, int64_t skip);

}  // namespace kest::explore
