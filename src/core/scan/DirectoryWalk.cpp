#include "core/scan/DirectoryWalk.h"

#include <strings.h>

#include <charconv>
#include <vector>

#include "core/archive/ArchiveKinds.h"
#include "core/scan/DisplayName.h"
#include "core/scan/RowBatch.h"
#include "core/scan/ScanOptions.h"
#include "core/scan/ScanState.h"
#include "core/scan/ScanView.h"
#include "core/text/NameBytes.h"

namespace kest::scan {

namespace {

// Ends the source's listing at the end of a scope.
class ListingCloser {
  public:
    explicit ListingCloser(WalkSource& source) : m_source(source) {}
    ~ListingCloser() { m_source.Close(); }
    ListingCloser(const ListingCloser&) = delete;
    ListingCloser& operator=(const ListingCloser&) = delete;

  private:
    WalkSource& m_source;
};

}  // namespace

DirectoryWalk::DirectoryWalk(std::string root, WalkSource& source, ScanState& state,
                             RowBatch& batch, ScanView& view, const ScanOptions& options,
                             ArchiveLister* archives)
    : m_root(std::move(root)),
      m_source(source),
      m_state(state),
      m_batch(batch),
      m_view(view),
      m_options(options),
      m_archives(archives) {}

void DirectoryWalk::WalkDirectory(const std::string& givenPath, uint64_t handle) {
    std::string path = givenPath;
    if (path.empty() || path.back() != '/') path += '/';
    m_view.Pump();
    std::string relative = path.substr(m_root.size());
    if (strcasecmp(relative.c_str(), "System Volume Information/") == 0) return;

    std::string shownPath;
    text::EscapeNameBytes(path, shownPath);
    std::vector<std::pair<std::string, uint64_t>> subdirectories;
    {
        ListingCloser closer(m_source);
        std::vector<WalkEntry> entries;
        std::string reason;
        if (!m_source.List(path, handle, entries, reason)) {
            m_state.log.WriteRecord("Directory not read (" + reason + "): " + shownPath);
            return;
        }

        // Directory pass, then file pass, both in listing order.
        for (const WalkEntry& entry : entries) {
            if (entry.isDirectory && strcasecmp(entry.name.c_str(), "pagefile.sys") != 0) {
                subdirectories.emplace_back(path + entry.name + "/", entry.handle);
            }
        }
        std::string shownRelative;
        text::EscapeNameBytes(relative, shownRelative);
        std::string dirText = TrimSpaces(shownRelative);
        for (const WalkEntry& entry : entries) {
            if (!entry.isDirectory) StoreFile(entry, path, shownPath, dirText);
        }
    }
    for (const auto& [subdirectory, subhandle] : subdirectories) {
        WalkDirectory(subdirectory, subhandle);
    }
}

void DirectoryWalk::StoreFile(const WalkEntry& entry, const std::string& path,
                              const std::string& shownPath, const std::string& dirText) {
    const std::string& name = entry.name;
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
    m_source.ReadFacts(fullPath, entry, std::string_view(fullPath).substr(m_root.size()), facts);
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
    if (m_hashes) m_source.Hash(*m_hashes, entry, storedDir, shownName, m_state.log);

    if (m_options.saveSubFileContents) {
        m_view.SetStatus(StatusPanel::SubFile, "");
        std::string extension = archive::ArchiveTypeOf(name);
        if (m_archives && m_options.ListsArchiveType(extension)) {
            m_batch.Open();
            m_state.fileId = m_batch.Files().LastFileId();
            // The archive's own row is kept whatever becomes of its listing.
            m_batch.Commit();
            std::string reason;
            if (std::optional<ArchiveBytes> bytes = m_source.BytesOf(fullPath, entry, reason)) {
                m_archives->List(*bytes, extension);
            } else {
                m_state.log.WriteLine("   Not listed: " + reason + ".");
            }
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
