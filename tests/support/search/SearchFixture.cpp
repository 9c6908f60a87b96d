#include "support/search/SearchFixture.h"

#include <fstream>
#include <sstream>

#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

constexpr const char* kDisc = "tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF)";
constexpr const char* kFile =
    "tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate, FileDesc)";
constexpr const char* kSubFile =
    "tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileSize, SubFileCSize, "
    "SubFileDate, SubFileComm, SubFileEncr)";

// Inserts one row into "table (columns)" and gives its id.
int64_t Insert(engine::Database& db, const std::string& into,
               const std::vector<engine::Value>& values) {
    std::string marks;
    for (size_t i = 0; i < values.size(); ++i) marks += i ? ", ?" : "?";
    auto insert = db.Prepare("INSERT INTO " + into + " VALUES (" + marks + ")");
    for (size_t i = 0; i < values.size(); ++i) {
        int index = static_cast<int>(i) + 1;
        if (auto* number = std::get_if<int64_t>(&values[i]))
            insert.Bind(index, *number);
        else
            insert.Bind(index, std::get<std::string>(values[i]));
    }
    insert.Run();
    return db.LastInsertId();
}

}  // namespace

std::unique_ptr<engine::Database> MakeSearchCatalog(const TempDir& dir, const std::string& name) {
    auto db = engine::Database::Open(MakeCatalogFile(dir, name), "");
    int64_t backup = Insert(*db, kDisc, {"1A2B-3C4D", "CDFS", "BACKUP_01", "Tax papers", 6});
    for (const auto& [folder, file, size, date, description] :
         {std::tuple{"<root>", "readme.txt", 1536, "1999-09-18 14:32:21", ""},
          std::tuple{"<root>", "O'Brien.doc", 2048, "2003-01-01 00:00:00", "letter"},
          std::tuple{"docs/", "report_50%.txt", 10, "1998-06-30 12:00:00", ""},
          std::tuple{"docs/", "Setup.EXE", 3145728, "2000-01-15 08:00:00", "installer"},
          std::tuple{"docs/[old]/", "notes #1.txt", 100, "1999-12-01 00:00:00", ""}}) {
        Insert(*db, kFile, {backup, folder, file, "A", size, date, description});
    }
    int64_t zip =
        Insert(*db, kFile, {backup, "<root>", "archive.zip", "A", 5000, "2001-02-03 04:05:06", ""});
    for (const auto& [entry, size, comment] :
         {std::tuple{"inner.txt", 400, "first entry"}, std::tuple{"picture.jpg", 8000, ""}}) {
        Insert(*db, kSubFile,
               {backup, zip, "docs/", entry, size, 100, "2001-02-03 04:05:06", comment, 1});
    }
    int64_t photos = Insert(*db, kDisc, {"0000-0001", "CDFS", "PHOTOS", "Holiday", 2});
    Insert(*db, kFile, {photos, "<root>", "beach.jpg", "A", 1048576, "2005-07-01 10:00:00", "sea"});
    Insert(*db, kFile, {photos, "<root>", "README.TXT", "A", 20, "2005-07-02 10:00:00", ""});
    Insert(*db, kDisc, {"0000-0002", "CDFS", "EMPTY", "", 0});
    return db;
}

ListTable MakeTable(std::vector<ListColumn> columns, const Texts& cells) {
    ListTable table;
    table.Reset(std::move(columns));
    for (const std::string& cell : cells) table.AddCell(cell);
    return table;
}

Texts ColumnCells(const ListTable& table, size_t column) {
    Texts out;
    for (size_t r = 0; r < table.RowCount(); ++r) out.emplace_back(table.Cell(r, column));
    return out;
}

Texts Headers(const ListTable& table) {
    Texts out;
    for (const auto& c : table.Columns()) out.push_back(c.header);
    return out;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace kest::test
