#include "core/search/ListDump.h"

#include "core/common/Errors.h"
#include "core/common/ReplacementFile.h"
#include "core/search/SearchText.h"

namespace kest::search {
namespace {

constexpr const char* kEol = "\r\n";
const std::array<std::string, 6> kDiscCaptions = {"Kest ID",          "Disc Serial #",
                                                  "Disc File System", "Disc Vol Label",
                                                  "Disc Description", "# of Files"};

// A text file written line by line with print positions counted from 1, as
// the classic Print # statement does.
class Printer {
  public:
    // Moves to a column; past it, the next line.
    Printer& Tab(size_t column) {
        if (m_column > column) NewLine();
        m_out.append(column - m_column, ' ');
        m_column = column;
        return *this;
    }
    Printer& Put(std::string_view text) {
        m_out += text;
        m_column += text.size();
        return *this;
    }
    Printer& NewLine() {
        m_out += kEol;
        m_column = 1;
        return *this;
    }
    std::string Take() { return std::move(m_out); }

  private:
    std::string m_out;
    size_t m_column = 1;
};

std::string BoundOrStar(const std::string& bound) {
    return bound.empty() ? "*" : bound;
}

std::string SearchLine(const DumpSource& s) {
    const SearchBounds& b = s.bounds;
    return "Search string: \"" + s.searchText + "\" Size: " + BoundOrStar(b.sizeFrom) + " to " +
           BoundOrStar(b.sizeTo) + " Date: " + BoundOrStar(b.dateFrom) + " to " +
           BoundOrStar(b.dateTo) + " KestID: " + BoundOrStar(b.discFrom) + " to " +
           BoundOrStar(b.discTo);
}

std::string UsedSpaceHeader(const DumpSource& s) {
    if (s.results || !s.usedSpaceShown || s.table->ColumnCount() <= 6) return {};
    return TrimBlanks(s.table->Column(6).header);
}

// The headers of the optional columns after the disc list's own.
std::vector<std::string> FactHeaders(const DumpSource& s) {
    std::vector<std::string> headers;
    if (s.results) return headers;
    size_t own = UsedSpaceHeader(s).empty() ? 6 : 7;
    for (size_t c = own; c < s.table->ColumnCount(); ++c)
        headers.push_back(TrimBlanks(s.table->Column(c).header));
    return headers;
}

std::string Title(const DumpSource& s) {
    if (!s.title.empty()) return s.title;
    return s.results ? "KEST SEARCH RESULTS" : "KEST DISC COLLECTION";
}

// Whether the search's criteria and count head the list.
bool SearchLines(const DumpSource& s) {
    return s.results && s.title.empty();
}

size_t RulerWidth(const DumpSource& s) {
    size_t width = 0;
    if (!s.title.empty()) {
        for (const ListColumn& column : s.table->Columns())
            if (column.tag >= 0) width += TrimBlanks(column.header).size() + 3;
    } else if (s.results) {
        for (size_t i = 0; i < kFileColumns; ++i)
            if (s.showCol[i] == 1) width += (i == 9 ? 9 : s.fileCaptions[i].size()) + 3;
    } else {
        for (const auto& caption : kDiscCaptions) width += caption.size() + 3;
    }
    width = width >= 2 ? width - 2 : 0;
    if (!s.results && s.usedSpaceShown && s.table->ColumnCount() > 6)
        width += s.table->Column(6).header.size() + 2;
    for (const std::string& header : FactHeaders(s)) width += header.size() + 3;
    return width;
}

// The text of one row of the results (row -1 is the header row).
std::string ResultCell(const ListTable& table, long row, size_t column) {
    return row < 0 ? table.Column(column).header
                   : std::string(table.Cell(static_cast<size_t>(row), column));
}

void PlainText(const DumpSource& s, Printer& p) {
    const ListTable& table = *s.table;
    const std::string title = Title(s);
    const size_t ruler = RulerWidth(s);
    p.NewLine().NewLine();
    p.Tab(6).Put(title).NewLine();
    p.Tab(6)
        .Put("File generated on " + text::FormatDate(s.now, "MMMM DD, YYYY HH:NN:SS AMPM"))
        .NewLine();
    p.Tab(6).Put(s.discSummary).NewLine();
    p.Tab(6).Put("Full path: " + s.catalogPath).NewLine();
    if (SearchLines(s)) {
        p.Tab(6).Put(SearchLine(s)).NewLine();
        p.Tab(6).Put(s.resultCount).NewLine();
    }
    p.Tab(6).Put(std::string(ruler, '-')).NewLine();
    p.NewLine();
    p.Tab(6).Put(std::string(ruler, '_')).NewLine();
    if (s.results) {
        for (long row = -1; row < static_cast<long>(table.RowCount()); ++row) {
            p.Tab(4).Put("  |");
            bool first = true;
            for (size_t c = 0; c < table.ColumnCount(); ++c) {
                if (!table.Shown(c)) continue;
                if (!first) p.Put("|  ");
                p.Put(TrimBlanks(ResultCell(table, row, c)));
                first = false;
            }
            p.NewLine();
        }
    } else {
        p.Tab(4).Put("  |");
        for (size_t i = 0; i < kDiscCaptions.size(); ++i)
            p.Put(i == 0 ? "" : "|  ").Put(kDiscCaptions[i]);
        if (std::string used = UsedSpaceHeader(s); !used.empty()) p.Put("|  ").Put(used);
        for (const std::string& header : FactHeaders(s)) p.Put("|  ").Put(header);
        p.NewLine();
        for (size_t row = 0; row < table.RowCount(); ++row) {
            p.Tab(4).Put("  |").Put(table.Cell(row, 0)).Tab(14).Put("| ");
            for (size_t c = 1; c < table.ColumnCount(); ++c)
                p.Put("\"").Put(table.Cell(row, c)).Put("\" ");
            p.NewLine();
        }
    }
    p.Tab(7).Put(std::string(ruler, '_')).NewLine();
}

void Csv(const DumpSource& s, Printer& p) {
    const ListTable& table = *s.table;
    p.NewLine().NewLine();
    p.Put(Title(s)).NewLine();
    p.Put("File generated on " + text::FormatDate(s.now, "MMMM DD YYYY HH:NN:SS AMPM")).NewLine();
    p.Put(s.discSummary).NewLine();
    p.Put("Full path: " + s.catalogPath).NewLine();
    if (s.results) {
        if (SearchLines(s)) {
            p.Put(SearchLine(s)).NewLine();
            p.Put(s.resultCount).NewLine();
        }
        for (long row = -1; row < static_cast<long>(table.RowCount()); ++row) {
            for (size_t c = 0; c < table.ColumnCount(); ++c)
                if (table.Shown(c)) p.Put(ResultCell(table, row, c)).Put(",");
            p.NewLine();
        }
        return;
    }
    for (size_t i = 0; i < kDiscCaptions.size(); ++i)
        p.Put(i == 0 ? "" : ",").Put(kDiscCaptions[i]);
    if (std::string used = UsedSpaceHeader(s); !used.empty()) p.Put(",").Put(used);
    for (const std::string& header : FactHeaders(s)) p.Put(",").Put(header);
    p.NewLine();
    for (size_t row = 0; row < table.RowCount(); ++row) {
        for (size_t c = 0; c < table.ColumnCount(); ++c)
            if (table.Shown(c)) p.Put("\"").Put(table.Cell(row, c)).Put("\",");
        p.NewLine();
    }
}

}  // namespace

std::string FormatList(const DumpSource& source, ListFormat format) {
    Printer printer;
    if (format == ListFormat::Csv)
        Csv(source, printer);
    else
        PlainText(source, printer);
    return printer.Take();
}

bool DumpList(const DumpSource& source, ListFormat format, const std::string& fileName,
              Prompter& prompter) {
    try {
        std::string data = FormatList(source, format);
        // The list replaces an old one only when it was written whole.
        ReplacementFile file(fileName);
        file.Write(data);
        file.Replace();
        return true;
    } catch (const KestError& e) {
        prompter.ShowError("Error in dump-to-text", e.Number(), e.Description());
        return false;
    } catch (const std::bad_alloc&) {
        const KestError error = err::OutOfMemory();
        prompter.ShowError("Error in dump-to-text", error.Number(), error.Description());
        return false;
    }
}

}  // namespace kest::search
