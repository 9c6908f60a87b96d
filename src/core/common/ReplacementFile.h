#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/common/PendingFiles.h"

namespace kest {

// Every file Kest creates or replaces goes through this file: new content is
// written under an exclusive random name beside the file it replaces and put
// in its place by one rename, so that a crash or a full disk leaves the old
// file whole and a link planted at a predictable name is never written
// through. Failures raise the file system's KestError (a full disk is 61
// "Disk full").

// The file a write to path changes: the end of a chain of symbolic links
// (a relative target read from its link's folder), or path itself when it is
// no link. Raises "Path not found" (76) for a chain that loops.
std::string WriteTarget(const std::string& path);

// Creates path as a new file only when nothing is there, not even a link,
// private to its owner (0600 narrowed by the umask); gives its descriptor,
// open for reading and writing.
int CreateExclusively(const std::string& path);

// Opens a log for rewriting: created private (0600 narrowed by the umask),
// refused when path is a symbolic link, emptied; an existing log is made
// private too, since it names the user's files. Gives the descriptor.
int OpenLogForWriting(const std::string& path);

// Rewrites the log at path (OpenLogForWriting) with bytes.
void WriteLog(const std::string& path, std::string_view bytes);

// New content for the file at path (a link's target; the link stays).
class ReplacementFile {
  public:
    // Creates the new, empty file beside the target; raises "Path/File
    // access error" (75) when the target is there but no regular file.
    explicit ReplacementFile(const std::string& path);
    // Removes the new file unless it took the target's place.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // The file the new content replaces.
    const std::string& Target() const { return m_target; }
    // The new file's own name, for writers that open it by name (the
    // catalog engine takes the empty file as a new database).
    const std::string& TemporaryPath() const { return m_temporary; }

    void Write(std::string_view bytes);
    // Appends every byte of the file at source.
    void CopyFrom(const std::string& source);
    // Drops what was written so far.
    void Empty();
    // Flushes the content to the disk, gives the new file the mode, owner,
    // group and extended attributes (ACLs, user attributes) of the file it
    // replaces where the system permits, renames it over the target and
    // flushes the folder.
    void Replace();
    // Flushes the content and puts it at the target only when nothing is
    // there; false (and nothing changed) when something is.
    bool PlaceIfAbsent();

  private:
    void CheckTargetReplaceable() const;
    // Checks that the temporary name still holds the file created for it.
    void CheckStillOurs() const;

    std::string m_target;
    std::string m_temporary;
    int m_fd = -1;
    // Held until the file is placed; removed by a signal that ends the program before.
    std::optional<PendingFile> m_pending;
};

}  // namespace kest
