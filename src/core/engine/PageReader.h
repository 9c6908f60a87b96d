#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace kest::engine {

// A stored value as the record format holds it: NULL, a whole number, a
// real, text, or bytes (a blob).
struct Blob {
    std::string bytes;
};
using CellValue = std::variant<std::monostate, int64_t, double, std::string, Blob>;

// One row of a table b-tree leaf: its rowid and its record's values.
// ordered: every cell of its leaf parsed and their rowids rise, as on a
// leaf the damage did not touch.
struct PageRow {
    int64_t rowid = 0;
    std::vector<CellValue> values;
    bool ordered = false;
    uint32_t page = 0;  // the leaf it was read from
};

// Reads a database file's b-tree pages straight from the file, without the
// engine, for the salvage: where the engine stops at the first damaged page
// of a table, this reader takes every page and every cell on its own, skips
// what does not parse (a page of the wrong kind, a cell pointer out of the
// page, a record whose header does not add up to its length, a broken
// overflow chain) and goes on with the next. Every walk marks the pages it
// reads and never reads a marked page again, so a loop of page numbers ends
// and the whole work is bounded by the file's page count.
class PageReader {
  public:
    using RowSink = std::function<void(const PageRow&)>;
    // An index entry: the indexed values, then the rowid.
    using KeySink = std::function<void(const std::vector<CellValue>& entry)>;

    // Raises nothing: a file too short for a header gives no pages.
    explicit PageReader(const std::string& path);

    uint32_t PageCount() const { return m_pageCount; }
    // Pages the header says the file has beyond its end (it was cut short).
    uint32_t MissingPages() const { return m_missingPages; }
    uint32_t PageSize() const { return m_pageSize; }
    // Pages read so far by every walk.
    uint32_t PagesSeen() const { return m_seenCount; }
    // Called with PagesSeen() after each page read; it may raise to stop.
    void SetPageHook(std::function<void(uint32_t seen)> hook) { m_hook = std::move(hook); }

    // The rows of the table b-tree rooted at root, as far as they can be read;
    // gives the number of its pages that damage kept from being read whole.
    uint32_t WalkTable(uint32_t root, const RowSink& sink);
    // The entries of the index b-tree rooted at root (none of a damaged leaf).
    void WalkIndex(uint32_t root, const KeySink& sink);
    // Marks the pages of the free list, so they are not taken for lost leaves.
    void MarkFreePages();
    // Table leaf pages that no walk reached and that are not free: the leaves
    // whose parent page was damaged. Each comes with its rows; taken, they
    // count as read (a look without taking leaves them for a later walk).
    void ForEachUnreachedLeaf(
        const std::function<void(uint32_t page, const std::vector<PageRow>&)>& sink,
        bool take = true);

  private:
    bool Load(uint32_t page, std::vector<unsigned char>& data);
    bool Mark(uint32_t page);
    // The cells of a b-tree page: its type, child pages (interior) and rows
    // or keys (leaves); false when the page is no b-tree page.
    // `whole` (when given) tells whether every cell was read.
    bool ReadTablePage(uint32_t page, std::vector<uint32_t>& children, std::vector<PageRow>* rows,
                       bool* whole = nullptr);
    // An index page gives no entries, and false, when any of its cells is damaged.
    bool ReadIndexPage(uint32_t page, std::vector<uint32_t>& children,
                       std::vector<std::vector<CellValue>>& entries);
    // The whole payload of a cell whose local part starts at data[at]; false
    // when it runs out of the page or its overflow chain breaks.
    bool Payload(const std::vector<unsigned char>& data, size_t at, uint64_t size, size_t maxLocal,
                 std::string& payload);

    std::ifstream m_file;
    uint32_t m_pageSize = 0;
    uint32_t m_usable = 0;
    uint32_t m_pageCount = 0;
    uint32_t m_missingPages = 0;
    uint32_t m_seenCount = 0;
    std::vector<bool> m_seen;
    std::function<void(uint32_t)> m_hook;
};

// Decodes a record (header of serial types, then the values); false when it
// does not parse or its header and body do not add up to its length exactly.
bool DecodeRecord(const std::string& payload, std::vector<CellValue>& values);

}  // namespace kest::engine
