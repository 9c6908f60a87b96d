#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kest::scan {

// The troubleshooting log of the last scan (Kest.dat in the program folder),
// rewritten by every scan and open for the whole of it.
class ScanLog {
  public:
    ScanLog() = default;
    ~ScanLog();
    ScanLog(const ScanLog&) = delete;
    ScanLog& operator=(const ScanLog&) = delete;

    // Replaces the file's content (a private file; a link there is refused);
    // raises the file-system error on failure.
    void Open(const std::string& path);
    bool IsOpen() const { return m_file != nullptr; }
    // Writes text ending in a line break. Every line is ended the same way:
    // a "\r\n", "\r" or "\n" inside (as error descriptions hold) starts a
    // new line; other control characters show as "?".
    void WriteLine(std::string_view line);
    // Writes one line that names a file: every control character of it, line
    // breaks included, shows as "?", so a record never splits.
    void WriteRecord(std::string_view line);
    // Pushes what is buffered to the file (before a prompt, before each
    // commit, at a stop).
    void Flush();
    // Forces what was flushed to the disk; safe on another thread than the
    // one that writes (the writer of the catalog's rows calls it before each
    // commit, so a committed row's line is never behind it).
    void Sync() const;
    // The first write that failed (a full program folder, say): its error
    // number, or 0. Lines after it may be missing.
    int Failure() const { return m_failure; }
    // Bytes written so far: where the next line starts.
    uint64_t Position() const { return m_position; }
    // The line that starts at `position` (without its line break).
    std::string LineAt(uint64_t position);
    // Drops everything from `position` on.
    void TruncateTo(uint64_t position);
    void Close();

  private:
    static bool HasControls(std::string_view line);
    // Writes the line as it is, with its line break.
    void WritePlain(std::string_view line);

    void NoteFailure();

    std::FILE* m_file = nullptr;
    int m_fd = -1;
    int m_failure = 0;
    std::string m_buffer;
    uint64_t m_position = 0;
};

}  // namespace kest::scan
