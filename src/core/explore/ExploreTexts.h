#pragma once

#include <cstdint>
#include <string>

#include "core/explore/TreeItems.h"

namespace kest::explore {

// What both front ends say when a disc or folder asked for is not there.
std::string NoDiscText(int64_t kestId);
std::string NoFolderText(const FolderPath& path);

// The caption line of a disc: "Kest ID 3: LABEL (1234-ABCD) - description",
// the label "no label" when empty, the description left out when empty.
std::string DiscCaption(const DiscInfo& disc);

// Why an open explore window closes: its disc was deleted, or its catalog
// closed or replaced.
std::string DiscGoneText(const DiscInfo& disc);
std::string CatalogGoneText();

// A size and a stored date as the results grid shows them: the size in the
// unit of SizeFormat with SizeNumDec decimals, the date in the user's date
// format ("" for none).
std::string SizeShown(int64_t bytes, int sizeFormat, int sizeNumDec);
std::string DateShown(const std::string& stored, const std::string& dateFormat);

// "1 file", "2 files": a count and its noun.
std::string CountText(int64_t count, const std::string& noun);

// A name as one line of a terminal or list shows it: control characters as "?".
std::string ShownName(const std::string& name);

}  // namespace kest::explore
