#include "core/scan/FileRowQueue.h"

#include "core/common/KestError.h"
#include "core/engine/Database.h"

namespace kest::scan {

namespace {

constexpr int kColumns = 6;
// tblFiles' texts hold at most this many characters; FileDir and FileName at
// least one.
constexpr size_t kMaxText = 255;

size_t Characters(std::string_view utf8) {
    size_t count = 0;
    for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// Whether the catalog will refuse the row for the length of a text.
bool Refused(std::string_view dir, std::string_view name, std::string_view attributes) {
    return dir.empty() || name.empty() || Characters(dir) > kMaxText ||
           Characters(name) > kMaxText || Characters(attributes) > kMaxText;
}

std::string InsertStatement(int rows) {
    std::string sql =
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) VALUES ";
    for (int row = 0; row < rows; ++row)
        sql += row == 0 ? "(?, ?, ?, ?, ?, ?)" : ", (?, ?, ?, ?, ?, ?)";
    return sql;
}

}  // namespace

void FileRowQueue::Add(int64_t discId, std::string_view dir, std::string_view name,
                       std::string_view attributes, int64_t size, std::string_view isoDate) {
    Row& row = m_rows[m_count++];
    row.discId = discId;
    row.dir.assign(dir);
    row.name.assign(name);
    row.attributes.assign(attributes);
    row.size = size;
    row.isoDate.assign(isoDate);
    // A row the catalog will refuse is written at once, on its own, so that
    // the error stops the scan at its file with every row before it stored.
    if (m_count == kGroup || Refused(dir, name, attributes)) Flush();
}

void FileRowQueue::BindRow(engine::Statement& statement, int first, const Row& row) {
    statement.Bind(first, row.discId);
    statement.BindView(first + 1, row.dir);
    statement.BindView(first + 2, row.name);
    statement.BindView(first + 3, row.attributes);
    statement.Bind(first + 4, row.size);
    if (row.isoDate.empty()) {
        statement.BindNull(first + 5);
    } else {
        statement.BindView(first + 5, row.isoDate);
    }
}

void FileRowQueue::Flush() {
    int count = m_count;
    m_count = 0;
    if (count == kGroup) {
        if (!m_group) m_group.emplace(m_db.Prepare(InsertStatement(kGroup)));
        for (int i = 0; i < count; ++i) BindRow(*m_group, 1 + i * kColumns, m_rows[i]);
        try {
            m_group->Run();
            return;
        } catch (const KestError&) {
            // One row failed and took the group with it (a full disk, say):
            // the rows go one by one, so those before it are kept and the
            // error is raised by the row that causes it.
        }
    }
    if (count > 0 && !m_single) m_single.emplace(m_db.Prepare(InsertStatement(1)));
    for (int i = 0; i < count; ++i) {
        BindRow(*m_single, 1, m_rows[i]);
        m_single->Run();
    }
}

int64_t FileRowQueue::LastFileId() {
    Flush();
    return m_db.LastInsertId();
}

}  // namespace kest::scan
