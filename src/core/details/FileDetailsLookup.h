#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/discs/DiscList.h"
#include "core/discs/SelectedDisc.h"
#include "core/search/ListSelection.h"
#include "core/ui/Prompter.h"

namespace kest::engine {
class Database;
}

namespace kest::details {

// The file whose details show, as the catalog holds it (texts as stored; an
// empty description for Null), and the description updates made while its
// window is open.
struct CurrentFile {
    std::string fileId;
    std::string dir;
    std::string name;
    std::string attributes;
    std::string size;  // bytes
    std::string date;  // "YYYY-MM-DD HH:MM:SS"
    std::string description;
    int64_t updates = 0;
};

// Everything the file details window shows: its disc and the file.
struct FileDetailsRecord {
    discs::SelectedDisc disc;
    CurrentFile file;
};

// Opens the details of a results row (grid rows, 0 the header): the row at
// the end of the selection gives the KestId and FileId. Nothing happens on the
// header or a row without a KestId. A missing disc or file row shows its
// message; an error shows "Results DblClick Error". The used space is looked
// up only when the disc list shows it.
std::optional<FileDetailsRecord> LookUpResultsRow(engine::Database& db, const ListTable& results,
                                                  search::GridSelection selection,
                                                  const discs::DiscListOptions& listOptions,
                                                  Prompter& prompter);

// The same lookup for a disc and file identifier given as text.
std::optional<FileDetailsRecord> LookUpFileDetails(engine::Database& db, const std::string& kestId,
                                                   const std::string& fileId,
                                                   const discs::DiscListOptions& listOptions,
                                                   Prompter& prompter);

// The same for a file known by its FileId alone; its disc is the file's.
std::optional<FileDetailsRecord> LookUpFileDetails(engine::Database& db, const std::string& fileId,
                                                   const discs::DiscListOptions& listOptions,
                                                   Prompter& prompter);

}  // namespace kest::details
