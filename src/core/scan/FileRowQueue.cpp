#include "core/scan/FileRowQueue.h"

#include "core/engine/Database.h"

namespace kest::scan {

namespace {

constexpr int kColumns = 6;

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
    if (m_count == kGroup) Flush();
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
        m_group->Run();
        return;
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
