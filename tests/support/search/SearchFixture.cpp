#include "support/search/SearchFixture.h"

#include "support/catalog/CatalogFixture.h"

namespace kest::test {
namespace {

int64_t AddDisc(engine::Database& db, const std::string& serial, const std::string& label,
                const std::string& description, int64_t files) {
    auto insert = db.Prepare(
        "INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF) "
        "VALUES (?, 'CDFS', ?, ?, ?)");
    insert.Bind(1, serial);
    insert.Bind(2, label);
    insert.Bind(3, description);
    insert.Bind(4, files);
    insert.Run();
    return db.LastInsertId();
}

int64_t AddFile(engine::Database& db, int64_t kestId, const std::string& dir,
                const std::string& name, int64_t size, const std::string& date,
                const std::string& description) {
    auto insert = db.Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate, FileDesc) "
        "VALUES (?, ?, ?, 'A', ?, ?, ?)");
    insert.Bind(1, kestId);
    insert.Bind(2, dir);
    insert.Bind(3, name);
    insert.Bind(4, size);
    insert.Bind(5, date);
    insert.Bind(6, description);
    insert.Run();
    return db.LastInsertId();
}

void AddSubFile(engine::Database& db, int64_t kestId, int64_t fileId, const std::string& name,
                int64_t size, const std::string& comment) {
    auto insert = db.Prepare(
        "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileSize, "
        "SubFileCSize, SubFileDate, SubFileComm, SubFileEncr) "
        "VALUES (?, ?, 'docs/', ?, ?, 100, '2001-02-03 04:05:06', ?, 1)");
    insert.Bind(1, kestId);
    insert.Bind(2, fileId);
    insert.Bind(3, name);
    insert.Bind(4, size);
    insert.Bind(5, comment);
    insert.Run();
}

}  // namespace

std::unique_ptr<engine::Database> MakeSearchCatalog(const TempDir& dir, const std::string& name) {
    auto db = engine::Database::Open(MakeCatalogFile(dir, name), "");
    int64_t backup = AddDisc(*db, "1A2B-3C4D", "BACKUP_01", "Tax papers", 6);
    AddFile(*db, backup, "<root>", "readme.txt", 1536, "1999-09-18 14:32:21", "");
    AddFile(*db, backup, "<root>", "O'Brien.doc", 2048, "2003-01-01 00:00:00", "letter");
    AddFile(*db, backup, "docs/", "report_50%.txt", 10, "1998-06-30 12:00:00", "");
    AddFile(*db, backup, "docs/", "Setup.EXE", 3145728, "2000-01-15 08:00:00", "installer");
    AddFile(*db, backup, "docs/[old]/", "notes #1.txt", 100, "1999-12-01 00:00:00", "");
    int64_t zip = AddFile(*db, backup, "<root>", "archive.zip", 5000, "2001-02-03 04:05:06", "");
    AddSubFile(*db, backup, zip, "inner.txt", 400, "first entry");
    AddSubFile(*db, backup, zip, "picture.jpg", 8000, "");
    int64_t photos = AddDisc(*db, "0000-0001", "PHOTOS", "Holiday", 2);
    AddFile(*db, photos, "<root>", "beach.jpg", 1048576, "2005-07-01 10:00:00", "sea");
    AddFile(*db, photos, "<root>", "README.TXT", 20, "2005-07-02 10:00:00", "");
    AddDisc(*db, "0000-0002", "EMPTY", "", 0);
    return db;
}

int64_t AddGeneratedDisc(engine::Database& db, int64_t files, const std::string& label) {
    int64_t kestId = AddDisc(db, "ABCD-0000", label, "generated", files);
    db.Begin();
    auto insert = db.Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) "
        "VALUES (?, ?, ?, 'A', ?, ?)");
    for (int64_t i = 0; i < files; ++i) {
        insert.Bind(1, kestId);
        insert.Bind(2, "dir" + std::to_string(i % 1000) + "/");
        insert.Bind(3, "file" + std::to_string(i) + (i % 100 == 0 ? ".rare" : ".dat"));
        insert.Bind(4, (i * 7919) % 10000000);
        char date[32];
        std::snprintf(date, sizeof date, "20%02d-%02d-%02d 12:00:00", static_cast<int>(i % 30),
                      static_cast<int>(i % 12 + 1), static_cast<int>(i % 28 + 1));
        insert.Bind(5, std::string(date));
        insert.Run();
        insert.Reset();
    }
    db.Commit();
    return kestId;
}

}  // namespace kest::test
