#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/archive/ArchiveFile.h"
#include "core/archive/ArchiveHost.h"
#include "core/archive/FileFound.h"
#include "core/common/Errors.h"
#include "core/ui/Prompter.h"

namespace kest::archive {

// Lists the entries of one archive without extracting anything, reporting
// each through the FileFound handler. One object serves one archive: set the
// path and type, call GetInfo once, let it go.
class cArchive {
  public:
    using FileFoundHandler = std::function<void(const FileFound&)>;

    cArchive(Prompter& prompter, ArchiveHost& host) : m_prompter(prompter), m_host(host) {}

    void SetArchivePath(std::string path) { m_archivePath = std::move(path); }
    const std::string& ArchivePath() const { return m_archivePath; }
    // Where in the file the archive lies: all of it unless set (an archive
    // inside a disc image is listed from the image's bytes).
    void SetArchiveWindow(FileWindow window) { m_window = window; }
    // "zip", "cab", "rar", "ace", or a type libarchive lists ("7z", "iso",
    // "tar", "tgz", "tbz", "txz", "tzst"; see ArchiveKinds.h); anything else
    // lists nothing.
    void SetArchiveType(std::string type) { m_archiveType = std::move(type); }
    const std::string& ArchiveType() const { return m_archiveType; }
    int32_t EntryCount() const { return m_entryCount; }
    void OnFileFound(FileFoundHandler handler) { m_fileFound = std::move(handler); }

    // Runs the reader the type names (compared exactly).
    void GetInfo();
    void GetZip();
    void GetCab();
    void GetRar();
    void GetAce();
    // 7z, ISO 9660 and the TAR kinds, through libarchive.
    void GetPacked();

  private:
    enum class StepResult { Done, Retried, Cancelled };

    // Runs one numbered step of a reader under the error trap. After an error
    // the user chooses Retry (go on with the next step: Retried) or Cancel
    // (the reader closes the archive and returns: Cancelled).
    template <class Body>
    StepResult Step(const char* reader, int line, Body&& body) {
        try {
            body();
            return StepResult::Done;
        } catch (const std::exception& e) {
            const KestError error = err::ToKestError(e);
            m_pastEnd = error.Number() == err::kInputPastEnd;
            return ErrorPrompt(reader, line, error.Number(), error.Description());
        }
    }
    StepResult ErrorPrompt(const char* reader, int line, long number,
                           const std::string& description);
    // Fills in the entry's number, count and type and hands it on.
    void Report(FileFound& entry, int32_t index);
    // Reads (step `line`) and reports (step line + 10) EntryCount entries one
    // after the other, testing the cancel flag after each. After Retry on a
    // failed read the entry is reported with what was read of it, and the
    // next read goes on from there (and may fail and ask again) - unless the
    // read ran past the end of the file: a count the file has no room for
    // (a crafted header) is one error, not one per entry it claims.
    template <class ReadEntry>
    void ReportEntries(const char* reader, int line, ReadEntry&& readEntry) {
        for (int32_t i = 1; i <= m_entryCount; ++i) {
            FileFound entry;
            m_pastEnd = false;
            if (Step(reader, line, [&] { readEntry(entry); }) == StepResult::Cancelled) return;
            const bool ended = m_pastEnd;
            if (Step(reader, line + 10, [&] { Report(entry, i); }) == StepResult::Cancelled) {
                return;
            }
            if (ended || m_host.CancelRequested()) return;
        }
    }
    // The two passes over a listing library (count, then report); see
    // LibraryListing.h for what a Library gives.
    template <class Library>
    void ListThroughLibrary(const char* reader);

    Prompter& m_prompter;
    ArchiveHost& m_host;
    std::string m_archivePath;
    FileWindow m_window;
    std::string m_archiveType;
    int32_t m_entryCount = 0;
    FileFoundHandler m_fileFound;
    bool m_pastEnd = false;  // the last failed step ran past the end of the file
};

}  // namespace kest::archive
