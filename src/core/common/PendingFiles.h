#pragma once

#include <string>

namespace kest {

// The half-written files a process would leave behind if a signal ended it
// now (the new content of a ReplacementFile, under its temporary name), so
// that the signal's handler can remove them first.
class PendingFile {
  public:
    // Names path (which must outlive this) until this goes or Done is called.
    explicit PendingFile(const std::string& path);
    ~PendingFile() { Done(); }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // The file is in place or gone: nothing to remove any more.
    void Done();

  private:
    int m_slot = -1;  // none when every slot was taken
};

// Removes every pending file; safe inside a signal handler.
void RemovePendingFiles() noexcept;

// For a program that lets SIGINT, SIGTERM and SIGHUP end it (no event loop
// takes them): each of those not ignored now removes the pending files and
// then ends the process as the signal would have.
void RemovePendingFilesWhenKilled();

}  // namespace kest
