#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::engine {
namespace {

using test::TempDir;

long ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const KestError& e) {
        return e.Number();
    }
    return 0;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string One(Database& db, const std::string& sql) {
    auto rows = db.Query(sql);
    return rows.rows.empty() ? "<none>" : ValueText(rows.rows[0][0]);
}

TEST(Database, BadFilesGiveTheirEngineErrorsAndStayUntouched) {
    TempDir dir;
    std::string good = test::MakeCatalogFile(dir);
    std::string truncated = dir.Write("trunc.kst", Bytes(good).substr(0, 1000));
    std::string garbage = Bytes(good);
    for (size_t i = 100; i < garbage.size(); i += 7)
        garbage[i] = static_cast<char>(garbage[i] ^ 0x5a);
    std::string corrupt = dir.Write("corrupt.kst", garbage);
    struct Case {
        std::string path;
        long number;
    } cases[] = {
        {dir.File("missing.kst"), err::kFileNotFound},
        {dir.Write("empty.kst", ""), err::kUnrecognizedFormat},
        {dir.Write("text.kst", "hello, this is not a database\n"), err::kUnrecognizedFormat},
        {dir.Path().string(), err::kCannotOpen},
    };
    for (const auto& c : cases) {
        std::string before = std::filesystem::is_regular_file(c.path) ? Bytes(c.path) : "";
        EXPECT_EQ(ErrorOf([&] { Database::Open(c.path, ""); }), c.number) << c.path;
        if (std::filesystem::is_regular_file(c.path)) {
            EXPECT_EQ(Bytes(c.path), before) << c.path;
        }
    }
    // Damaged databases fail on open or on the first read, never crash.
    for (const auto& path : {truncated, corrupt}) {
        long number = ErrorOf([&] {
            auto db = Database::Open(path, "");
            db->Query("SELECT * FROM tblFiles");
            db->Table("tblFiles");
        });
        EXPECT_NE(number, 0) << path;
    }
}

TEST(Database, SecondOpenOfAnOpenCatalogIsRefusedAsInUse) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir);
    auto first = Database::Open(path, "");
    EXPECT_EQ(ErrorOf([&] { Database::Open(path, ""); }), err::kFileInUse);
    first.reset();
    EXPECT_NO_THROW(Database::Open(path, ""));
}

TEST(Database, PasswordLocksTheCatalogUntilChanged) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir);
    {
        auto db = Database::Open(path, "");
        EXPECT_FALSE(db->HasPassword());
        db->SetPassword("", "Secret");
        EXPECT_EQ(ErrorOf([&] { db->SetPassword("wrong", "x"); }), err::kInvalidPassword);
    }
    EXPECT_EQ(ErrorOf([&] { Database::Open(path, ""); }), err::kInvalidPassword);
    EXPECT_EQ(ErrorOf([&] { Database::Open(path, "secret"); }), err::kInvalidPassword);
    {
        auto db = Database::Open(path, "Secret");
        EXPECT_TRUE(db->HasPassword());
        EXPECT_EQ(db->TableNames(),
                  (std::vector<std::string>{"tblDiscs", "tblFiles", "tblSubFiles"}));
        db->SetPassword("Secret", "");
    }
    EXPECT_NO_THROW(Database::Open(path, ""));
}

TEST(Database, ConstraintFailuresCarryTheJetNumbers) {
    TempDir dir;
    auto db = Database::Open(test::MakeCatalogFile(dir), "");
    std::string longText(256, 'x');
    struct Case {
        std::string sql;
        long number;
    } cases[] = {
        {"INSERT INTO tblFiles (FileDir, FileName) VALUES ('', 'a')", err::kZeroLengthString},
        {"INSERT INTO tblFiles (FileDir, FileName) VALUES ('<root>', '')", err::kZeroLengthString},
        {"INSERT INTO tblSubFiles (SubFileDir, SubFileName) VALUES ('', 'a')",
         err::kZeroLengthString},
        {"INSERT INTO tblSubFiles (SubFileDir, SubFileName) VALUES ('d', '')",
         err::kZeroLengthString},
        {"INSERT INTO tblFiles (FileName) VALUES ('a')", err::kRequiredNull},
        {"INSERT INTO tblDiscs (DiscDesc) VALUES ('" + longText + "')", err::kFieldTooSmall},
        {"INSERT INTO tblFiles (FileDir, FileName) VALUES ('d', '" + longText + "')",
         err::kFieldTooSmall},
        {"SELEC * FROM tblFiles", err::kSyntaxError},
        {"SELECT * FROM tblNothing", err::kTableNotFound},
        {"SELECT 1; SELECT 2", 3142},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { db->Execute(c.sql); }), c.number) << c.sql;
    try {
        db->Execute("INSERT INTO tblFiles (FileDir, FileName) VALUES ('', 'a')");
    } catch (const KestError& e) {
        EXPECT_EQ(e.Description(), "Field 'tblFiles.FileDir' cannot be a zero-length string.");
    }
    // Every other text field takes the empty string; defaults fill the rest.
    db->Execute(
        "INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc) VALUES ('', '', '', '')");
    db->Execute(
        "INSERT INTO tblFiles (FileDir, FileName, FileAtt, FileDesc) VALUES ('d', 'n', '', '')");
    db->Execute("INSERT INTO tblDiscs DEFAULT VALUES");
    EXPECT_EQ(One(*db, "SELECT DiscNumF FROM tblDiscs WHERE KestId=2"), "0");
    EXPECT_EQ(db->LastInsertId(), 2);
    EXPECT_EQ(One(*db, "SELECT KestId FROM tblFiles"), "1");
    EXPECT_EQ(One(*db, "SELECT FileSize FROM tblFiles"), "0");
    db->Execute("INSERT INTO tblDiscs (DiscDesc) VALUES ('" + std::string(255, 'y') + "')");
}

TEST(Database, RunsTheSystemsStatementsWithJetResults) {
    TempDir dir;
    auto db = test::OpenSampleCatalog(dir);
    EXPECT_EQ(One(*db, "SELECT FORMAT((1536)/1024,'0.00')"), "1.50");
    EXPECT_EQ(One(*db, "SELECT FORMAT(1234567,'#,##0')"), "1,234,567");
    // The search statement, with both FROM clauses.
    std::string columns =
        "SELECT tblFiles.KestId AS [Kest ID ], tblFiles.FileId AS [FileId], tblDiscs.DiscLbl AS "
        "[Disc Vol Label ], "
        "tblFiles.FileName AS [File Name ],  FORMAT((tblFiles.FileSize)/1048576,'0.00') AS [File "
        "Size (MB) ],  "
        "FORMAT(tblFiles.FileDate,'MM/DD/YY HH:NN:SS AMPM') AS [File Date ], "
        "FORMAT(tblFiles.FileDate,'YYYYMMDDHHNNSS') AS [SortDate ]";
    auto rows = db->Query(
        columns +
        "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId "
        "WHERE ((((tblFiles.FileName LIKE '*.JPG') OR (tblFiles.FileName LIKE '*readme*')))) "
        "ORDER BY tblFiles.KestId, tblFiles.FileDir, tblFiles.FileName;");
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.columns,
              (std::vector<std::string>{"Kest ID ", "FileId", "Disc Vol Label ", "File Name ",
                                        "File Size (MB) ", "File Date ", "SortDate "}));
    EXPECT_EQ(ValueText(rows.rows[0][3]), "readme.txt");  // "<root>" sorts before "pics/"
    EXPECT_EQ(ValueText(rows.rows[1][4]), "3.00");
    EXPECT_EQ(ValueText(rows.rows[1][5]), "12/31/99 11:59:59 PM");
    EXPECT_EQ(ValueText(rows.rows[1][6]), "19991231235959");
    auto withSub = db->Query(
        "SELECT tblFiles.FileName AS [File Name ], tblSubFiles.SubFileName AS [SubFile Name ], "
        "IIf(tblSubFiles.SubFileEncr=True, 'Yes', ' ') AS [SubFile Encrypted ] "
        "FROM (tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId) LEFT JOIN "
        "tblSubFiles ON "
        "tblFiles.FileId = tblSubFiles.FileId WHERE ((((tblSubFiles.SubFileName LIKE '*INNER*')) "
        "OR "
        "((tblFiles.FileName LIKE '*readme*')))) AND (tblFiles.FileSize BETWEEN 0 AND 1048576) AND "
        "(tblFiles.FileDate BETWEEN #1/1/99 0:00:00# AND #1/1/00 0:00:00#) AND (tblFiles.KestID <= "
        "1) "
        "ORDER BY tblFiles.KestId, tblFiles.FileDir, tblFiles.FileName, tblSubFiles.SubFileDir, "
        "tblSubFiles.SubFileName;");
    ASSERT_EQ(withSub.rows.size(), 2u);
    EXPECT_EQ(ValueText(withSub.rows[0][2]), " ");
    EXPECT_EQ(ValueText(withSub.rows[1][1]), "inner.txt");
    EXPECT_EQ(ValueText(withSub.rows[1][2]), "Yes");
    // The disc list, with and without the used-space column.
    auto discs = db->Query(
        "SELECT tblDiscs.KestId AS [Kest ID ], tblDiscs.DiscSer AS [Disc Serial # ], "
        "tblDiscs.DiscFSys AS [Disc "
        "File System ], tblDiscs.DiscLbl AS [Disc Vol Label ], tblDiscs.DiscDesc AS [Disc "
        "Description ], "
        "tblDiscs.DiscNumF AS [# of Files ], FORMAT((SUM(tblFiles.FileSize))/1024,'0.0') AS [Used "
        "Space (KB) ] "
        "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId GROUP BY "
        "tblDiscs.KestId, "
        "tblDiscs.DiscSer, tblDiscs.DiscFSys, tblDiscs.DiscLbl, tblDiscs.DiscDesc, "
        "tblDiscs.DiscNumF;");
    ASSERT_EQ(discs.rows.size(), 1u);
    EXPECT_EQ(ValueText(discs.rows[0][6]), "3075.5");
    EXPECT_EQ(db->Query("SELECT tblDiscs.KestID AS [Kest ID ], tblDiscs.DiscSer AS [Disc Serial # "
                        "] FROM tblDiscs")
                  .rows.size(),
              2u);
    EXPECT_EQ(One(*db, "SELECT SUM(FileSize) FROM tblFiles;"), "3149312");
    EXPECT_EQ(One(*db, "SELECT SUM(SubFileSize) FROM tblSubFiles;"), "1000");
    EXPECT_EQ(db->Query("SELECT * FROM tblDiscs WHERE tblDiscs.KestID=2").rows.size(), 1u);
    EXPECT_EQ(db->Execute("UPDATE tblFiles SET FileDesc = 'It''s new' WHERE FileId=1;"), 1);
    EXPECT_EQ(One(*db, "SELECT FileDesc FROM tblFiles WHERE FileId=1"), "It's new");
    EXPECT_EQ(db->Execute("DELETE * FROM tblSubFiles WHERE KestId=1;"), 1);
    EXPECT_EQ(db->Execute("DELETE * FROM tblFiles WHERE KestId=1;"), 3);
}

}  // namespace
}  // namespace kest::engine
