#pragma once

#include <memory>
#include <vector>

#include "core/archive/rarlib/BufferedFile.h"

// What the RAR and ACE handles share: the entries gathered at open, handed
// out one by one.
namespace kest::archive {

template <typename Entry>
struct EntryQueue {
    std::vector<Entry> entries;
    size_t next = 0;
    bool headerRead = false;  // entries[next] was handed out and not yet skipped

    // Reading again without skipping moves on, as the next header is read.
    bool Read(Entry& out) {
        Skip();
        if (next >= entries.size()) return false;
        out = entries[next];
        headerRead = true;
        return true;
    }
    void Skip() {
        if (!headerRead) return;
        ++next;
        headerRead = false;
    }
};

// Opens data->ArcName (its Window) and lists it with parse (which gives 0 or an error
// code); nullptr with OpenResult cannotOpen when the file cannot be read.
template <typename Archive, typename OpenData, typename Parse>
Archive* OpenListing(OpenData* data, unsigned cannotOpen, Parse parse) {
    if (!data) return nullptr;
    BufferedFile file;
    if (!file.Open(data->ArcName, data->Window)) {
        data->OpenResult = cannotOpen;
        return nullptr;
    }
    auto archive = std::make_unique<Archive>();
    data->OpenResult = static_cast<unsigned>(parse(file, archive->entries));
    // A damaged or locked archive lists nothing, not the part before the fault.
    if (data->OpenResult != 0) archive->entries.clear();
    return archive.release();
}

}  // namespace kest::archive
