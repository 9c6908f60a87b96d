#include "core/table/ListTable.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>
#include <thread>

#include "core/text/DateParse.h"
#include "core/text/TextOrder.h"

namespace kest {

namespace {

// Runs work and gives what it threw, for work run on another thread.
std::exception_ptr Caught(const std::function<void()>& work) {
    try {
        work();
        return nullptr;
    } catch (...) {
        return std::current_exception();
    }
}

}  // namespace

double NumericSortKey(std::string_view text) {
    return text::ParseNumberText(text).value_or(0.0);
}

std::vector<size_t> ListTable::ShownColumns() const {
    std::vector<size_t> shown;
    for (size_t c = 0; c < m_columns.size(); ++c)
        if (Shown(c)) shown.push_back(c);
    return shown;
}

void ListTable::Reset(std::vector<ListColumn> columns) {
    m_columns = std::move(columns);
    m_blocks.clear();
    m_blockFirstCell.clear();
    m_cellEnds.clear();
    m_cellCount = 0;
    m_order.clear();
    m_handedOverRows = 0;
}

void ListTable::HandOverRows(size_t rows, std::function<void(const ListTable&)> handOver) {
    m_handOverRows = handOver ? rows : 0;
    m_handOver = std::move(handOver);
}

void ListTable::DropRows() {
    m_handedOverRows += m_order.size();
    m_order.clear();
    m_blocks.resize(1);
    m_blocks.front().clear();
    m_blockFirstCell.assign(1, 0);
    m_cellEnds.resize(1);
    m_cellCount = 0;
}

void ListTable::AddCell(std::string_view text) {
    constexpr size_t kBlockSize = size_t{4} << 20;
    if (m_columns.empty()) return;
    if (m_cellCount % m_columns.size() == 0)
        m_order.push_back(static_cast<uint32_t>(m_cellCount / m_columns.size()));
    if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < text.size()) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(std::max(kBlockSize, text.size()));
        m_blockFirstCell.push_back(m_cellCount);
    }
    if ((m_cellCount >> kChunkBits) == m_cellEnds.size())
        m_cellEnds.push_back(std::make_unique_for_overwrite<uint32_t[]>(kChunkMask + 1));
    std::string& block = m_blocks.back();
    block.append(text);
    CellEnd(m_cellCount++) = static_cast<uint32_t>(block.size());
    if (m_handOverRows != 0 && m_order.size() == m_handOverRows &&
        m_cellCount % m_columns.size() == 0) {
        m_handOver(*this);
        DropRows();
    }
}

void ListTable::AddBlankRow() {
    for (size_t c = 0; c < m_columns.size(); ++c) AddCell({});
}

std::string_view ListTable::Cell(size_t row, size_t column) const {
    return StoredCell(m_order[row], column);
}

std::string_view ListTable::StoredCell(size_t storedRow, size_t column) const {
    size_t index = storedRow * m_columns.size() + column;
    if (index >= m_cellCount) return {};  // a row still being added
    size_t block = static_cast<size_t>(
                       std::upper_bound(m_blockFirstCell.begin(), m_blockFirstCell.end(), index) -
                       m_blockFirstCell.begin()) -
                   1;
    size_t begin = index == m_blockFirstCell[block] ? 0 : CellEnd(index - 1);
    return std::string_view(m_blocks[block]).substr(begin, CellEnd(index) - begin);
}

// From this many rows a sort is long: its two halves are sorted at once and
// merged, and a window works the order out while it goes on painting.
constexpr size_t kLongList = 200000;

void ListTable::Sort(size_t column, SortKind kind, bool descending, const LongWorkRunner& runLong) {
    if (column >= m_columns.size() || m_order.size() < 2) return;
    if (!runLong || m_order.size() < kLongList) {
        WriteSortedOrder(column, kind, descending, m_order);
        return;
    }
    std::vector<uint32_t> order(m_order.size());
    std::exception_ptr failed;
    runLong([&] { failed = Caught([&] { WriteSortedOrder(column, kind, descending, order); }); });
    if (failed) std::rethrow_exception(failed);
    m_order.swap(order);
}

void ListTable::WriteSortedOrder(size_t column, SortKind kind, bool descending,
                                 std::vector<uint32_t>& out) const {
    // Each row's key is taken once into a small record, reading the texts in
    // the order they are stored (forward through memory, whatever the shown
    // order). Most comparisons read the records alone; only ties of the
    // prefixes go back to the texts. Equal keys keep their shown order.
    struct SortKey {
        text::TextPrefix prefix;
        double value = 0;  // NaN for a text that is not a number (general kind)
        uint32_t stored = 0;
        uint32_t shown = 0;
    };
    const size_t rows = m_order.size();
    std::vector<SortKey> keys(rows);
    for (size_t r = 0; r < rows; ++r) keys[m_order[r]].shown = static_cast<uint32_t>(r);
    std::vector<std::string_view> texts(rows);  // by stored row
    auto takeKeys = [&](size_t from, size_t to) {
        for (size_t s = from; s < to; ++s) {
            texts[s] = StoredCell(s, column);
            SortKey& key = keys[s];
            key.stored = static_cast<uint32_t>(s);
            if (kind == SortKind::Numeric) {
                key.value = NumericSortKey(texts[s]);
            } else {
                if (kind == SortKind::General)
                    key.value = text::ParseNumberText(texts[s]).value_or(
                        std::numeric_limits<double>::quiet_NaN());
                key.prefix = text::PrefixOf(texts[s], kind == SortKind::General);
            }
        }
    };
    auto numbers = [](double a, double b) { return (a > b) - (a < b); };
    auto compare = [&](const SortKey& a, const SortKey& b) {
        if (kind == SortKind::Numeric) return numbers(a.value, b.value);
        int order = 0;
        if (kind == SortKind::General) {
            // Numbers come first, by value; then the texts in the catalog's
            // text order (as the search's ORDER BY sorts them).
            bool aText = std::isnan(a.value), bText = std::isnan(b.value);
            if (!aText && !bText) return numbers(a.value, b.value);
            if (aText != bText) return aText ? 1 : -1;
            if (text::ComparePrefixes(a.prefix, b.prefix, order)) return order;
            return text::CompareText(texts[a.stored], texts[b.stored]);
        }
        if (text::ComparePrefixes(a.prefix, b.prefix, order)) return order;
        return texts[a.stored].compare(texts[b.stored]);
    };
    auto less = [&](const SortKey& a, const SortKey& b) {
        int order = compare(a, b);
        if (order != 0) return descending ? order > 0 : order < 0;
        return a.shown < b.shown;
    };
    auto sortPart = [&](size_t from, size_t to) {
        takeKeys(from, to);
        std::sort(keys.begin() + static_cast<std::ptrdiff_t>(from),
                  keys.begin() + static_cast<std::ptrdiff_t>(to), less);
    };
    // The order is total (ties go by the shown order), so two sorted halves
    // merged give the same order as one sort.
    if (rows < kLongList || std::thread::hardware_concurrency() < 2) {
        sortPart(0, rows);
    } else {
        const size_t half = rows / 2;
        std::exception_ptr failed;
        std::thread other([&] { failed = Caught([&] { sortPart(half, rows); }); });
        try {
            sortPart(0, half);
        } catch (...) {
            other.join();
            throw;
        }
        other.join();
        if (failed) std::rethrow_exception(failed);
        // Merged straight into the order, so no second copy of the keys is needed.
        size_t first = 0, second = half, at = 0;
        while (first < half && second < rows)
            out[at++] =
                less(keys[second], keys[first]) ? keys[second++].stored : keys[first++].stored;
        while (first < half) out[at++] = keys[first++].stored;
        while (second < rows) out[at++] = keys[second++].stored;
        return;
    }
    for (size_t i = 0; i < rows; ++i) out[i] = keys[i].stored;
}

}  // namespace kest
