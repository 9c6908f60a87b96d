#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kest::damage {

// The suite's own reading of a database file's pages, written apart from the
// engine's salvage so that the one checks the other: it maps a sound file's
// pages to their b-trees and lists the rowids on a table leaf.
struct PageInfo {
    std::string owner;       // the table or index whose b-tree holds the page
    unsigned char type = 0;  // 2, 5, 10, 13: index/table interior/leaf
};

struct PageMap {
    uint32_t pageSize = 0;
    uint32_t pageCount = 0;
    std::map<uint32_t, PageInfo> pages;  // b-tree pages only
    std::vector<uint32_t> freePages;     // trunks and leaves of the free list

    std::vector<uint32_t> Pages(unsigned char type, const std::string& ownerPrefix = "") const;
};

// Reads the page map of a sound file; roots are (name, root page) pairs.
PageMap MapPages(const std::string& bytes,
                 const std::vector<std::pair<std::string, uint32_t>>& roots);

// The rowids of the cells of a table leaf page.
std::set<int64_t> LeafRowids(const std::string& bytes, uint32_t pageSize, uint32_t page);

// The page of a file's bytes, or "" when the file does not hold it whole.
std::string PageBytes(const std::string& bytes, uint32_t pageSize, uint32_t page);

}  // namespace kest::damage
