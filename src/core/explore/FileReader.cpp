#include "core/explore/FileReader.h"

#include <algorithm>
#include <cstdlib>

#include "core/text/TextOrder.h"

namespace kest::explore {
namespace {

class StatementFiles : public FileReader {
  public:
    explicit StatementFiles(engine::Statement statement) : m_statement(std::move(statement)) {}

    bool Next(std::vector<FileItem>& out, size_t max) override {
        size_t taken = 0;
        while (!m_atEnd && taken < max) {
            if (!m_statement.Step()) {
                m_atEnd = true;
                break;
            }
            FileItem file = ItemOfRow(m_statement);
            file.fileId = file.id;
            file.archive = m_statement.Int(7) != 0;
            out.push_back(std::move(file));
            ++taken;
        }
        return taken > 0;
    }

  private:
    engine::Statement m_statement;
};

class ListFiles : public FileReader {
  public:
    ListFiles(std::vector<FileItem> files, size_t skip)
        : m_files(std::move(files)), m_next(std::min(skip, m_files.size())) {}

    bool Next(std::vector<FileItem>& out, size_t max) override {
        const size_t first = m_next, end = std::min(m_files.size(), m_next + max);
        for (; m_next < end; ++m_next) out.push_back(m_files[m_next]);
        m_atEnd = m_next == m_files.size();
        return m_next > first;
    }

  private:
    std::vector<FileItem> m_files;
    size_t m_next = 0;
};

int CompareBy(const FileItem& a, const FileItem& b, FileColumn column) {
    auto numbers = [](auto x, auto y) { return x < y ? -1 : x > y ? 1 : 0; };
    switch (column) {
        case FileColumn::Name:
            return text::CompareText(a.name, b.name);
        case FileColumn::Size:
            return numbers(a.size, b.size);
        case FileColumn::Date:
            return a.date.compare(b.date);
        case FileColumn::Attributes:
            return text::CompareText(a.attributes, b.attributes);
        case FileColumn::Description:
            return text::CompareText(a.description, b.description);
        case FileColumn::Packed:
            return numbers(a.packed, b.packed);
        case FileColumn::Ratio:
            return numbers(std::atof(a.ratio.c_str()), std::atof(b.ratio.c_str()));
        case FileColumn::Crc:
            return text::CompareText(a.crc, b.crc);
        case FileColumn::Method:
            return text::CompareText(a.method, b.method);
    }
    return 0;
}

}  // namespace

FileItem ItemOfRow(const engine::Statement& row) {
    FileItem item;
    item.id = row.Int(0);
    item.dir = row.Text(1);
    item.name = row.Text(2);
    item.attributes = row.Text(3);
    item.size = row.Int(4);
    item.date = row.Text(5);
    item.description = row.Text(6);
    return item;
}

std::unique_ptr<FileReader> StatementReader(engine::Statement statement) {
    return std::make_unique<StatementFiles>(std::move(statement));
}

std::unique_ptr<FileReader> ListReader(std::vector<FileItem> files, FileOrder order, int64_t skip) {
    std::stable_sort(files.begin(), files.end(), [order](const FileItem& a, const FileItem& b) {
        int by = CompareBy(a, b, order.column);
        return order.descending ? by > 0 : by < 0;
    });
    return std::make_unique<ListFiles>(std::move(files),
                                       static_cast<size_t>(std::max<int64_t>(skip, 0)));
}

}  // namespace kest::explore
