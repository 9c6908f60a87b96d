#include "support/catalog/CatalogFixture.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <fstream>

#include "core/catalog/CatalogCommands.h"
#include "support/ScriptedPrompter.h"

namespace kest::test {

using engine::FieldDef;
using engine::FieldType;

std::string MakeCatalogFile(const TempDir& dir, const std::string& name) {
    std::string path = dir.File(name);
    ScriptedPrompter prompter;
    EXPECT_TRUE(CreateCatalog(path, prompter));
    return path;
}

void SetWrittenLongAgo(const std::string& path) {
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    struct timespec times[2] = {info.st_atim, info.st_mtim};
    times[1].tv_sec -= 60;
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

bool KeepsAttributes(const TempDir& dir) {
    const std::string probe = dir.File("attribute-probe");
    std::ofstream(probe).put('x');
    char value = 0;
    const bool kept = setxattr(probe.c_str(), "user.kest.probe", &value, 1, 0) == 0;
    std::remove(probe.c_str());
    return kept;
}

std::string MakeOldFormatCatalog(const TempDir& dir, const std::string& name) {
    std::string path = dir.File(name);
    auto db = engine::Database::Create(path);
    auto fixed = [](const char* n, FieldType t, int pos) {
        return FieldDef{n,  t,  engine::DefaultFieldSize(t), engine::kFixedField, false, false,
                        "", pos};
    };
    auto text = [](const char* n, int pos) {
        return FieldDef{n, FieldType::Text, 50, engine::kVariableField, false, true, "", pos};
    };
    db->CreateTable(
        {"tblDiscs",
         {FieldDef{"KestId", FieldType::Long, 4, 17, false, false, "", 0},
          fixed("DiscSer", FieldType::Long, 1), fixed("DiscFSys", FieldType::Long, 2),
          text("DiscLbl", 3), text("DiscDesc", 4), fixed("DiscNumF", FieldType::Long, 5)},
         {{"PrimaryKey", true, true, {"KestId"}}}});
    db->CreateTable({"tblFiles",
                     {fixed("KestId", FieldType::Long, 0), text("FileDir", 1), text("FileName", 2),
                      fixed("FileAtt", FieldType::Long, 3), fixed("FileSize", FieldType::Single, 4),
                      fixed("FileDate", FieldType::Date, 5)},
                     {{"KestId", false, false, {"KestId"}}}});
    const std::string files =
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) VALUES ";
    db->Execute(
        "INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF) "
        "VALUES (305419896, 7, 'OLDDISC', 'old one', 2)");
    db->Execute(files + "(1, '[root]', 'a.txt', 32, 2, #1/2/98 3:04:05#)");
    db->Execute(files + "(1, '\\docs\\', 'b.doc', 1, 0.5, #1/2/98 3:04:05#)");
    return path;
}

std::unique_ptr<engine::Database> OpenSampleCatalog(const TempDir& dir) {
    auto db = engine::Database::Open(MakeCatalogFile(dir, "sample.kst"), "");
    const std::string discs =
        "INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF) VALUES ";
    const std::string files =
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate, FileDesc) "
        "VALUES ";
    db->Execute(discs + "('1234-ABCD', 'vfat', 'PHOTOS', 'Holiday 1999', 3)");
    db->Execute(discs + "('0000-0000', 'iso9660', 'EMPTY', 'nothing here', 0)");
    db->Execute(files + "(1, '<root>', 'readme.txt', 'A', 1536, #9/18/99 2:32:21 PM#, 'first')");
    db->Execute(files + "(1, 'pics/', 'Beach.JPG', 'RA', 3145728, #12/31/99 23:59:59#, '')");
    db->Execute(files + "(1, 'pics/', 'photos.zip', 'A', 2048, #1/1/00 0:00:00#, 'the archive')");
    db->Execute(
        "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileSize, "
        "SubFileCSize, SubFileRatio, SubFileDate, SubFileEncr) VALUES (1, 3, 'x/', 'inner.txt', "
        "1000, 500, 50, #1/1/00 0:00:00#, True)");
    return db;
}

std::string QueryText(engine::Database& db, const std::string& sql) {
    std::string text;
    for (const auto& row : db.Query(sql).rows) {
        for (size_t i = 0; i < row.size(); ++i) text += (i ? "|" : "") + engine::ValueText(row[i]);
        text += "\n";
    }
    return text;
}

}  // namespace kest::test
