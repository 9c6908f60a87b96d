#include "support/catalog/MaintenanceFixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "core/catalog/CatalogCommands.h"
#include "core/engine/Database.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::test {

std::string MakeFilledCatalog(const TempDir& dir, const std::string& name, int files,
                              const std::string& password) {
    std::string path = MakeCatalogFile(dir, name);
    auto db = engine::Database::Open(path, "");
    const std::string discs =
        "INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF) VALUES ";
    db->Execute(discs + "('1234-ABCD', 'vfat', 'PHOTOS', 'Holiday 1999', 3)");
    db->Execute(discs + "('0000-0000', 'iso9660', 'GONE', 'deleted again', 0)");
    db->Execute("DELETE * FROM tblDiscs WHERE KestId = 2");
    auto insert = db->Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate, FileDesc) "
        "VALUES (1, ?, ?, 'A', ?, #9/18/99 2:32:21 PM#, ?)");
    db->Begin();
    for (int i = 1; i <= files; ++i) {
        insert.Bind(1, "folder" + std::to_string(i % 7) + "/");
        insert.Bind(2, "file" + std::to_string(i) + ".txt");
        insert.Bind(3, static_cast<int64_t>(i) * 1000);
        insert.Bind(4, std::string(i % 3 ? "" : "a description long enough to fill the pages"));
        insert.Run();
        insert.Reset();
    }
    db->Commit();
    db->Execute(
        "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileSize, "
        "SubFileCSize, SubFileRatio, SubFileDate, SubFileEncr) VALUES (1, 1, 'x/', 'inner.txt', "
        "1000, 500, 50, #1/1/00 0:00:00#, True), (1, 1, 'x/', 'other.txt', 3000000000, 5, 1, "
        "#1/1/00 0:00:00#, False)");
    if (!password.empty()) db->SetPassword("", password);
    return path;
}

void OpenAsCurrent(CurrentCatalog& current, const std::string& path, const std::string& password) {
    current.database.reset();
    std::filesystem::path file(path);
    MakeCurrent(current, file.parent_path().string(), file.filename().string(), path, password);
}

std::string CatalogSnapshot(const std::string& path, const std::string& password) {
    auto db = engine::Database::Open(path, password);
    std::string text = "lock=" + std::to_string(db->HasPassword()) + "\n";
    for (const char* sql :
         {"SELECT * FROM tblDiscs ORDER BY KestId", "SELECT * FROM tblFiles ORDER BY FileId",
          "SELECT * FROM tblSubFiles ORDER BY SubFileId",
          "SELECT name, seq FROM sqlite_sequence ORDER BY name",
          "SELECT * FROM _kest_fields ORDER BY 1, 2"}) {
        text += QueryText(*db, sql);
    }
    return text;
}

std::string JournalModeOf(const std::string& path, const std::string& password) {
    auto db = engine::Database::Open(path, password);
    sqlite3_stmt* stmt = nullptr;
    std::string mode;
    if (sqlite3_prepare_v2(db->Handle(), "PRAGMA journal_mode", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    return mode;
}

int DamageFirstLeafPage(const std::string& path, const std::string& table,
                        const std::string& password) {
    int root = 0;
    {
        auto db = engine::Database::Open(path, password);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db->Handle(), "SELECT rootpage FROM sqlite_master WHERE name = ?", -1,
                           &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW) root = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
    }
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    unsigned char header[100];
    file.read(reinterpret_cast<char*>(header), sizeof header);
    int pageSize = header[16] << 8 | header[17];
    if (pageSize == 1) pageSize = 65536;
    // An interior table page (type 5): the first cell pointer leads to the
    // first cell, whose first four bytes are its child's page number.
    std::vector<unsigned char> page(static_cast<size_t>(pageSize));
    file.seekg(static_cast<std::streamoff>(root - 1) * pageSize);
    file.read(reinterpret_cast<char*>(page.data()), pageSize);
    EXPECT_EQ(page[0], 5) << table << " fits on one page";
    const auto cell = static_cast<size_t>(page[12] << 8 | page[13]);
    int leaf = page[cell] << 24 | page[cell + 1] << 16 | page[cell + 2] << 8 | page[cell + 3];
    std::mt19937 random(12);
    std::vector<char> noise(static_cast<size_t>(pageSize));
    for (char& c : noise) c = static_cast<char>(random());
    file.seekp(static_cast<std::streamoff>(leaf - 1) * pageSize);
    file.write(noise.data(), pageSize);
    return leaf;
}

std::vector<int> TableLeaves(const std::string& path, const std::string& table,
                             const std::string& password) {
    int root = 0;
    {
        auto db = engine::Database::Open(path, password);
        auto rows = db->Query("SELECT rootpage FROM sqlite_master WHERE name = '" + table + "'");
        root = static_cast<int>(std::get<int64_t>(rows.rows.at(0).at(0)));
    }
    const int pageSize = PageSizeOf(path);
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> page(static_cast<size_t>(pageSize));
    file.seekg(static_cast<std::streamoff>(root - 1) * pageSize);
    file.read(reinterpret_cast<char*>(page.data()), pageSize);
    EXPECT_EQ(page[0], 5) << table << " fits on one page";
    auto u32 = [&](size_t at) {
        return page[at] << 24 | page[at + 1] << 16 | page[at + 2] << 8 | page[at + 3];
    };
    std::vector<int> leaves;
    for (size_t i = 0; i < static_cast<size_t>(page[3] << 8 | page[4]); ++i)
        leaves.push_back(u32(static_cast<size_t>(page[12 + 2 * i] << 8 | page[13 + 2 * i])));
    leaves.push_back(u32(8));
    return leaves;
}

int PageSizeOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[18] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    int size = header[16] << 8 | header[17];
    return size == 1 ? 65536 : size;
}

void PatchFile(const std::string& path, int64_t offset, const std::string& bytes) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace kest::test
