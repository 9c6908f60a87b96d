#pragma once

#include <cstdint>
#include <string>

namespace kest::engine {

// A note kept on the catalog file itself (an extended attribute) of the state
// the file was in when its search index was last found whole by the probes,
// so that opening the file again unchanged (every search of the command line)
// need not probe the index. Any write to the file, by any program, changes
// its modification time, and a write not yet copied from the -wal file shows
// by that file's size; either way the probes run again. A file written within
// the last few seconds is never noted: a later write within the same tick of
// the file system's clock could leave its time as it was. Where the file
// system keeps no such attributes, or the file is read-only, nothing is noted
// and every open probes.

// Whether the file is in the state noted on it.
bool SearchIndexStamped(const std::string& path);

// Notes the file's present state (nothing when it was just written, or when
// the note cannot be kept).
void StampSearchIndex(const std::string& path);

// Removes the note (the index was found damaged after all).
void ClearSearchIndexStamp(const std::string& path);

// A build that failed for want of room is not tried again until there is
// more room: the note (in place of the one above) holds the file's identity
// and the room there was (bytes free on its file system and in the file's
// free pages) when the build was tried. Building again is worth it once the
// room has grown by more than kRoomToRetry.
inline constexpr uint64_t kRoomToRetry = 1 << 20;
void NoteSearchIndexOutOfRoom(const std::string& path, uint64_t room);
bool SearchIndexOutOfRoom(const std::string& path, uint64_t room);

}  // namespace kest::engine
