#include "core/table/ListTable.h"

#include <algorithm>
#include <optional>

#include "core/text/DateParse.h"
#include "core/text/TextOrder.h"

namespace kest {

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
    // The keys are taken once per row, in shown order, then the order sorted.
    std::vector<uint32_t> positions(m_order.size());
    for (uint32_t i = 0; i < positions.size(); ++i) positions[i] = i;
    std::vector<std::string_view> texts(m_order.size());
    for (size_t r = 0; r < m_order.size(); ++r) texts[r] = Cell(r, column);

    auto sortBy = [&](auto less) {
        if (descending)
            std::stable_sort(positions.begin(), positions.end(),
                             [&](uint32_t a, uint32_t b) { return less(b, a); });
        else
            std::stable_sort(positions.begin(), positions.end(), less);
    };
    if (kind == SortKind::Text) {
        sortBy([&](uint32_t a, uint32_t b) { return texts[a] < texts[b]; });
    } else if (kind == SortKind::Numeric) {
        std::vector<double> keys(texts.size());
        for (size_t r = 0; r < texts.size(); ++r) keys[r] = NumericSortKey(texts[r]);
        sortBy([&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
    } else {
        // Numbers come first, by value; then the texts in the catalog's text
        // order (as the search's ORDER BY sorts them).
        std::vector<std::optional<double>> keys(texts.size());
        for (size_t r = 0; r < texts.size(); ++r) keys[r] = text::ParseNumberText(texts[r]);
        sortBy([&](uint32_t a, uint32_t b) {
            if (keys[a] && keys[b]) return *keys[a] < *keys[b];
            if (keys[a] || keys[b]) return keys[a].has_value();
            return text::CompareText(texts[a], texts[b]) < 0;
        });
    }
    std::vector<uint32_t> order(m_order.size());
    for (size_t i = 0; i < positions.size(); ++i) order[i] = m_order[positions[i]];
    m_order = std::move(order);
}

}  // namespace kest
