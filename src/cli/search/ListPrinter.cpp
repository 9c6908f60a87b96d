#include "cli/search/ListPrinter.h"

#include <cerrno>
#include <cstring>

namespace kest::cli {

void ListPrinter::Print(const ListTable& table) {
    if (!m_headerDone) {
        if (!m_preface.empty()) m_buffer.append(m_preface).push_back('\n');
        Line(table, 0, true);
        m_headerDone = true;
    }
    for (size_t r = 0; r < table.RowCount(); ++r) Line(table, r, false);
    Flush();
}

void ListPrinter::Line(const ListTable& table, size_t row, bool header) {
    bool first = true;
    for (size_t c = 0; c < table.ColumnCount(); ++c) {
        if (!table.Shown(c)) continue;
        if (!first) m_buffer += '\t';
        m_buffer += header ? std::string_view(table.Column(c).header) : table.Cell(row, c);
        first = false;
    }
    m_buffer += '\n';
    if (m_buffer.size() > (1u << 20)) Flush();
}

void ListPrinter::Flush() {
    bool written = std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out) == m_buffer.size() &&
                   std::fflush(m_out) == 0;
    m_buffer.clear();
    if (written) return;
    if (errno == EPIPE) throw OutputClosed();
    throw std::runtime_error(std::string("cannot write the list: ") + std::strerror(errno));
}

void PrintList(std::FILE* out, const ListTable& table) {
    ListPrinter(out).Print(table);
}

}  // namespace kest::cli
