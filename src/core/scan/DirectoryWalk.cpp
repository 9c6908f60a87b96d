#include "core/scan/DirectoryWalk.h"

#include <dirent.h>
#include <fcntl.h>

#include <strings.h>
#include <cerrno>
#include <charconv>
#include <vector>

#include "core/archive/ArchiveKinds.h"
#include "core/common/FileSystemError.h"
#include "core/scan/ContentHashes.h"
#include "core/scan/DirectoryEntry.h"
#include "core/scan/DisplayName.h"
#include "core/scan/RowBatch.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/ScanState.h"
#include "core/scan/ScanView.h"
#include "core/text/NameBytes.h"

namespace kest::scan {

namespace {

// A directory that cannot be listed because it is closed to us or has gone
// contributes nothing; anything else (a failing disc) stops the walk.
bool SkippableListingError(int error) {
    return error == EACCES || error == EPERM || error == ENOENT || error == ENOTDIR;
}

class DirCloser {
  public:
    explicit DirCloser(DIR* dir) : m_dir(dir) {}
    ~DirCloser() { closedir(m_dir); }
    DirCloser(const DirCloser&) = delete;
    DirCloser& operator=(const DirCloser&) = delete;

  private:
    DIR* m_dir;
};

}  // namespace

DirectoryWalk::DirectoryWalk(std::string root, ScanState& state, RowBatch& batch, ScanView& view,
                             Prompter& prompter, const ScanOptions& options,
                             ArchiveLister* archives)
    : m_root(std::move(root)),
      m_state(state),
      m_batch(batch),
      m_view(view),
      m_options(options),
      m_archives(archives),
      m_facts(prompter, &view) {}

void DirectoryWalk::WalkDirectory(const std::string& givenPath) {
    std::string path = givenPath;
    if (path.empty() || path.back() != '/') path += '/';
    m_view.Pump();
    std::string relative = path.substr(m_root.size());
    if (strcasecmp(relative.c_str(), "System Volume Information/") == 0) return;

    std::string shownPath;
    text::EscapeNameBytes(path, shownPath);
    DIR* dir = opendir(path.c_str());
    if (!dir) {
        int error = errno;
        if (!SkippableListingError(error)) throw FileSystemError(error);
        m_state.log.WriteRecord("Directory not read (" + FileSystemError(error).Description() +
                                "): " + shownPath);
        return;
    }
    std::vector<std::string> subdirectories;
    {
        DirCloser closer(dir);
        std::vector<Entry> entries;
        errno = 0;
        while (dirent* found = readdir(dir)) {
            std::string name = found->d_name;
            if (name == "." || name == "..") continue;
            entries.push_back({std::move(name), IsDirectoryEntry(dir, found)});
        }
        if (errno != 0) throw FileSystemError(errno);

        // Directory pass, then file pass, both in listing order.
        for (const Entry& entry : entries) {
            if (entry.isDirectory && strcasecmp(entry.name.c_str(), "pagefile.sys") != 0) {
                subdirectories.push_back(path + entry.name + "/");
            }
        }
        std::string shownRelative;
        text::EscapeNameBytes(relative, shownRelative);
        std::string dirText = TrimSpaces(shownRelative);
        for (const Entry& entry : entries) {
            if (!entry.isDirectory) StoreFile(dirfd(dir), path, shownPath, dirText, entry.name);
        }
    }
    for (const std::string& subdirectory : subdirectories) WalkDirectory(subdirectory);
}

void DirectoryWalk::StoreFile(int dirFd, const std::string& path, const std::string& shownPath,
                              const std::string& dirText, const std::string& name) {
    // The texts of a file are built in buffers kept from file to file: this
    // runs once per file of a disc.
    std::string& shownName = m_scratch.shownName;
    bool replaced = text::EscapeNameBytes(name, shownName);
    m_state.lastFile.assign(shownPath).append(shownName);
    if (m_state.abort) throw ScanAborted();
    ++m_state.fileCounter;
    std::string& line = m_scratch.line;
    char digits[24];
    line.assign(digits, std::to_chars(digits, digits + sizeof digits, m_state.fileCounter).ptr);
    line.append(": ").append(shownPath).append(shownName);
    m_batch.RowStarting();
    m_state.log.WriteRecord(line);

    std::string& fullPath = m_scratch.fullPath;
    fullPath.assign(path).append(name);
    FileFacts& facts = m_scratch.facts;
    m_facts.Read(dirFd, fullPath, name.c_str(), std::string_view(fullPath).substr(m_root.size()),
                 facts);
    m_state.lastFile.append(" ")
        .append(dirText)
        .append(" ")
        .append(facts.dateText)
        .append(" ")
        .append(facts.sizeText)
        .append(" ")
        .append(facts.attributes);
    std::string& status = m_scratch.status;
    status.assign("Adding ").append(dirText).append(shownName);
    m_view.SetStatus(StatusPanel::Scan, status);
    line.assign("\"").append(facts.dateText).append("\",\"").append(facts.sizeText);
    line.append("\",\"").append(facts.attributes).append("\"");
    m_state.log.WriteLine(line);
    if (replaced) {
        m_state.log.WriteLine(
            "   The name is not valid UTF-8: each invalid byte is stored as U+F700 + the byte.");
    }

    m_batch.Open();
    std::string_view storedDir = dirText.empty() ? std::string_view("<root>") : dirText;
    m_batch.Files().Add(m_state.discId, storedDir, shownName, facts.attributes, facts.size,
                        facts.isoDate);
    m_batch.Written();
    if (m_hashes) m_hashes->Add(dirFd, name.c_str(), storedDir, shownName, m_state.log);

    if (m_options.saveSubFileContents) {
        m_view.SetStatus(StatusPanel::SubFile, "");
        std::string extension = archive::ArchiveTypeOf(name);
        if (m_archives && m_options.ListsArchiveType(extension)) {
            m_batch.Open();
            m_state.fileId = m_batch.Files().LastFileId();
            // The archive's own row is kept whatever becomes of its listing.
            m_batch.Commit();
            m_archives->List(fullPath, extension);
            if (m_state.abort) throw ScanAborted();
        }
    }
    if (m_options.estimateBeforeScan) {
        m_view.ShowSubProgress(ProgressFor(0));
        m_state.totalPercent += static_cast<float>(m_state.percentStep);
        m_view.ShowTotalProgress(ProgressFor(m_state.totalPercent));
    }
    m_view.Pump();
}

}  // namespace kest::scan
