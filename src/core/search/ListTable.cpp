#include "core/search/ListTable.h"

#include <algorithm>
#include <optional>

#include "core/text/DateParse.h"
#include "core/text/TextOrder.h"

namespace kest::search {
namespace {}  // namespace

double NumericSortKey(std::string_view text) {
    return text::ParseNumberText(text).value_or(0.0);
}

void ListTable::Reset(std::vector<ListColumn> columns) {
    m_columns = std::move(columns);
    m_blocks.clear();
    m_blockFirstCell.clear();
    m_cellEnds.clear();
    m_cellCount = 0;
    m_order.clear();
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
}

void ListTable::AddBlankRow() {
    for (size_t c = 0; c < m_columns.size(); ++c) AddCell({});
}

std::string_view ListTable::Cell(size_t row, size_t column) const {
    size_t index = static_cast<size_t>(m_order[row]) * m_columns.size() + column;
    if (index >= m_cellCount) return {};  // a row still being added
    size_t block = static_cast<size_t>(
                       std::upper_bound(m_blockFirstCell.begin(), m_blockFirstCell.end(), index) -
                       m_blockFirstCell.begin()) -
                   1;
    size_t begin = index == m_blockFirstCell[block] ? 0 : CellEnd(index - 1);
    return std::string_view(m_blocks[block]).substr(begin, CellEnd(index) - begin);
}

void ListTable::Sort(size_t column, SortKind kind, bool descending) {
    if (column >= m_columns.size() || m_order.size() < 2) return;
    // Each row's key is taken once, in shown order, into one small record:
    // most comparisons then read the records alone, in place, and only ties
    // of the first eight bytes go back to the texts.
    struct Key {
        text::TextPrefix prefix;
        uint32_t position = 0;
        bool number = false;
        double value = 0;
    };
    std::vector<std::string_view> texts(m_order.size());
    std::vector<Key> keys(m_order.size());
    for (size_t r = 0; r < m_order.size(); ++r) {
        texts[r] = Cell(r, column);
        Key& key = keys[r];
        key.position = static_cast<uint32_t>(r);
        if (kind == SortKind::Numeric) {
            key.value = NumericSortKey(texts[r]);
        } else {
            if (kind == SortKind::General) {
                std::optional<double> value = text::ParseNumberText(texts[r]);
                key.number = value.has_value();
                key.value = value.value_or(0);
            }
            key.prefix = text::PrefixOf(texts[r], kind == SortKind::General);
        }
    }
    auto sortBy = [&](auto less) {
        if (descending)
            std::stable_sort(keys.begin(), keys.end(),
                             [&](const Key& a, const Key& b) { return less(b, a); });
        else
            std::stable_sort(keys.begin(), keys.end(), less);
    };
    if (kind == SortKind::Numeric) {
        sortBy([](const Key& a, const Key& b) { return a.value < b.value; });
    } else if (kind == SortKind::Text) {
        sortBy([&](const Key& a, const Key& b) {
            bool less = false;
            if (text::PrefixDecides(a.prefix, b.prefix, less)) return less;
            return texts[a.position] < texts[b.position];
        });
    } else {
        // Numbers come first, by value; then the texts in the catalog's text
        // order (as the search's ORDER BY sorts them).
        sortBy([&](const Key& a, const Key& b) {
            if (a.number && b.number) return a.value < b.value;
            if (a.number || b.number) return a.number;
            bool less = false;
            if (text::PrefixDecides(a.prefix, b.prefix, less)) return less;
            return text::CompareText(texts[a.position], texts[b.position]) < 0;
        });
    }
    std::vector<uint32_t> order(m_order.size());
    for (size_t i = 0; i < keys.size(); ++i) order[i] = m_order[keys[i].position];
    m_order = std::move(order);
}

}  // namespace kest::search
