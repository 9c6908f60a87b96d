// The engine: catalog files, the Jet SQL dialect and LIKE patterns.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "core/engine/JetLike.h"
#include "core/engine/JetSql.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::engine {
namespace {

using test::QueryText;
using test::TempDir;

long ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const KestError& e) {
        return e.Number();
    }
    return 0;
}

// A file's bytes; "" for anything but a file.
std::string Bytes(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) return {};
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Database, BadFilesGiveTheirEngineErrorsAndStayUntouched) {
    TempDir dir;
    std::string good = Bytes(test::MakeCatalogFile(dir)), garbage = good;
    for (size_t i = 100; i < garbage.size(); i += 7) garbage[i] ^= 0x5a;
    const std::pair<std::string, long> cases[] = {
        {dir.File("missing.kst"), err::kFileNotFound},
        {dir.Write("empty.kst", ""), err::kUnrecognizedFormat},
        {dir.Write("text.kst", "hello, this is not a database\n"), err::kUnrecognizedFormat},
        {dir.Path().string(), err::kCannotOpen},
    };
    for (const auto& [path, number] : cases) {
        std::string before = Bytes(path);
        EXPECT_EQ(ErrorOf([&] { Database::Open(path, ""); }), number) << path;
        EXPECT_EQ(Bytes(path), before) << path;
    }
    // Damaged databases fail on open or on the first read, never crash.
    for (const auto& path :
         {dir.Write("trunc.kst", good.substr(0, 1000)), dir.Write("corrupt.kst", garbage)}) {
        long number = ErrorOf([&] {
            auto db = Database::Open(path, "");
            db->Query("SELECT * FROM tblFiles");
            db->Table("tblFiles");
        });
        EXPECT_NE(number, 0) << path;
    }
}

TEST(Database, OpenRefusesACatalogInUseOrLockedByAnotherPassword) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir);
    {
        auto db = Database::Open(path, "");
        EXPECT_EQ(ErrorOf([&] { Database::Open(path, ""); }), err::kFileInUse);
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

// What `f` gives when run by a user who may not write the catalog: root
// writes every file, so a root run tries it as nobody in a child process.
long ErrorAsUnprivileged(const std::function<void()>& f) {
    if (geteuid() != 0) return ErrorOf(f);
    pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        _exit(ErrorOf(f) == err::kReadOnly ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? err::kReadOnly : -1;
}

TEST(Database, ReadOnlyCatalogFileIsTheReadOnlyCase) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir);
    chmod(path.c_str(), 0444);
    chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(ErrorAsUnprivileged([&] { Database::Open(path, ""); }), err::kReadOnly);
    EXPECT_EQ(ErrorAsUnprivileged([&] {
                  Database::Open(path, "", {.exclusive = false})->Execute("DELETE * FROM tblDiscs");
              }),
              err::kReadOnly);
}

TEST(Database, ConstraintFailuresCarryTheJetNumbers) {
    TempDir dir;
    auto db = Database::Open(test::MakeCatalogFile(dir), "");
    std::string longText(256, 'x');
    const std::pair<std::string, long> cases[] = {
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
    for (const auto& [sql, number] : cases) {
        EXPECT_EQ(ErrorOf([&] { db->Execute(sql); }), number) << sql;
    }
    EXPECT_THAT([&] { db->Execute(cases[0].first); },
                testing::ThrowsMessage<KestError>(
                    testing::StrEq("Field 'tblFiles.FileDir' cannot be a zero-length string.")));
    // Every other text field takes the empty string; defaults fill the rest.
    db->Execute(
        "INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc) VALUES ('', '', '', '')");
    db->Execute(
        "INSERT INTO tblFiles (FileDir, FileName, FileAtt, FileDesc) VALUES ('d', 'n', '', '')");
    db->Execute("INSERT INTO tblDiscs DEFAULT VALUES");
    EXPECT_EQ(db->LastInsertId(), 2);
    EXPECT_EQ(QueryText(*db, "SELECT DiscNumF FROM tblDiscs WHERE KestId=2"), "0\n");
    EXPECT_EQ(QueryText(*db, "SELECT KestId, FileSize FROM tblFiles"), "1|0\n");
    db->Execute("INSERT INTO tblDiscs (DiscDesc) VALUES ('" + std::string(255, 'y') + "')");
}

TEST(Database, RunsTheSystemsStatementsWithJetResults) {
    TempDir dir;
    auto db = test::OpenSampleCatalog(dir);
    EXPECT_EQ(QueryText(*db, "SELECT FORMAT((1536)/1024,'0.00'), FORMAT(1234567,'#,##0')"),
              "1.50|1,234,567\n");
    // The search statement, with both FROM clauses.
    std::string search =
        "SELECT tblFiles.KestId AS [Kest ID ], tblFiles.FileId AS [FileId], tblDiscs.DiscLbl AS "
        "[Disc Vol Label ], tblFiles.FileName AS [File Name ],  "
        "FORMAT((tblFiles.FileSize)/1048576,'0.00') AS [File Size (MB) ],  "
        "FORMAT(tblFiles.FileDate,'MM/DD/YY HH:NN:SS AMPM') AS [File Date ], "
        "FORMAT(tblFiles.FileDate,'YYYYMMDDHHNNSS') AS [SortDate ]FROM tblDiscs INNER JOIN "
        "tblFiles ON tblDiscs.KestId = tblFiles.KestId WHERE ((((tblFiles.FileName LIKE '*.JPG') "
        "OR (tblFiles.FileName LIKE '*readme*')))) ORDER BY tblFiles.KestId, tblFiles.FileDir, "
        "tblFiles.FileName;";
    EXPECT_EQ(db->Query(search).columns,
              (std::vector<std::string>{"Kest ID ", "FileId", "Disc Vol Label ", "File Name ",
                                        "File Size (MB) ", "File Date ", "SortDate "}));
    EXPECT_EQ(QueryText(*db, search),  // "<root>" sorts before "pics/"
              "1|1|PHOTOS|readme.txt|0.00|09/18/99 02:32:21 PM|19990918143221\n"
              "1|2|PHOTOS|Beach.JPG|3.00|12/31/99 11:59:59 PM|19991231235959\n");
    EXPECT_EQ(
        QueryText(*db,
                  "SELECT tblFiles.FileName AS [File Name ], tblSubFiles.SubFileName AS [SubFile "
                  "Name ], IIf(tblSubFiles.SubFileEncr=True, 'Yes', ' ') AS [SubFile Encrypted ] "
                  "FROM (tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId) LEFT "
                  "JOIN tblSubFiles ON tblFiles.FileId = tblSubFiles.FileId WHERE "
                  "((((tblSubFiles.SubFileName LIKE '*INNER*')) OR ((tblFiles.FileName LIKE "
                  "'*readme*')))) AND (tblFiles.FileSize BETWEEN 0 AND 1048576) AND "
                  "(tblFiles.FileDate BETWEEN #1/1/99 0:00:00# AND #1/1/00 0:00:00#) AND "
                  "(tblFiles.KestID <= 1) ORDER BY tblFiles.KestId, tblFiles.FileDir, "
                  "tblFiles.FileName, tblSubFiles.SubFileDir, tblSubFiles.SubFileName;"),
        "readme.txt|| \nphotos.zip|inner.txt|Yes\n");
    // The disc list, with and without the used-space column.
    EXPECT_EQ(
        QueryText(*db,
                  "SELECT tblDiscs.KestId AS [Kest ID ], tblDiscs.DiscSer AS [Disc Serial # ], "
                  "tblDiscs.DiscFSys AS [Disc File System ], tblDiscs.DiscLbl AS [Disc Vol Label "
                  "], tblDiscs.DiscDesc AS [Disc Description ], tblDiscs.DiscNumF AS [# of Files "
                  "], FORMAT((SUM(tblFiles.FileSize))/1024,'0.0') AS [Used Space (KB) ] FROM "
                  "tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId GROUP BY "
                  "tblDiscs.KestId, tblDiscs.DiscSer, tblDiscs.DiscFSys, tblDiscs.DiscLbl, "
                  "tblDiscs.DiscDesc, tblDiscs.DiscNumF;"),
        "1|1234-ABCD|vfat|PHOTOS|Holiday 1999|3|3075.5\n");
    EXPECT_EQ(QueryText(*db,
                        "SELECT tblDiscs.KestID AS [Kest ID ], tblDiscs.DiscSer AS [Disc Serial # "
                        "] FROM tblDiscs"),
              "1|1234-ABCD\n2|0000-0000\n");
    EXPECT_EQ(QueryText(*db, "SELECT SUM(FileSize) FROM tblFiles;"), "3149312\n");
    EXPECT_EQ(QueryText(*db, "SELECT SUM(SubFileSize) FROM tblSubFiles;"), "1000\n");
    EXPECT_EQ(QueryText(*db, "SELECT KestId FROM tblDiscs WHERE tblDiscs.KestID=2"), "2\n");
    EXPECT_EQ(db->Execute("UPDATE tblFiles SET FileDesc = 'It''s new' WHERE FileId=1;"), 1);
    EXPECT_EQ(QueryText(*db, "SELECT FileDesc FROM tblFiles WHERE FileId=1"), "It's new\n");
    EXPECT_EQ(db->Execute("DELETE * FROM tblSubFiles WHERE KestId=1;"), 1);
    EXPECT_EQ(db->Execute("DELETE * FROM tblFiles WHERE KestId=1;"), 3);
}

TEST(JetSql, TranslatesEachDialectFeatureOutsideLiteralsAndRefusesBadDates) {
    const std::pair<const char*, const char*> cases[] = {
        {"DELETE * FROM tblFiles WHERE KestId=3;", "DELETE FROM tblFiles WHERE KestId=3;"},
        {"delete  *  from t", "delete  from t"},
        {"SELECT * FROM t", "SELECT * FROM t"},
        {"WHERE d >= #9/18/99 2:32:21 PM#", "WHERE d >= '1999-09-18 14:32:21'"},
        {"WHERE d <= #1/5/29 0:00:00#", "WHERE d <= '2029-01-05 00:00:00'"},
        {"WHERE d <= #1/5/30 23:59:59#", "WHERE d <= '1930-01-05 23:59:59'"},
        {"FORMAT((x)/1024,'0.00')", "FORMAT((x)* 1.0 /1024,'0.00')"},
        {"'a/b#c*' & [Size (KB) ]", "'a/b#c*' || [Size (KB) ]"},
        {"x = \"O'Brien\"", "x = 'O''Brien'"},
        {"'it''s' /2", "'it''s' * 1.0 /2"},
        {"[Disc Serial # ]", "[Disc Serial # ]"},
        // Every ORDER BY term sorts in the catalog's text order.
        {"SELECT a FROM t ORDER BY a, [b c ] DESC;",
         "SELECT a FROM t ORDER BY a COLLATE KEST_TEXT, [b c ] COLLATE KEST_TEXT DESC;"},
        {"SELECT * FROM (SELECT x FROM t ORDER BY x) WHERE (y) ORDER BY x COLLATE BINARY",
         "SELECT * FROM (SELECT x FROM t ORDER BY x COLLATE KEST_TEXT) WHERE (y) ORDER BY x "
         "COLLATE BINARY"},
        {"SELECT 'ORDER BY x' FROM t", "SELECT 'ORDER BY x' FROM t"},
        // The counters hold numbers only: none, so their indexes give the order.
        {"ORDER BY tblFiles.KestId, [FileId] DESC, subfileid, tblFiles.KestIdx, f(KestId)",
         "ORDER BY tblFiles.KestId, [FileId] DESC, subfileid, tblFiles.KestIdx COLLATE KEST_TEXT, "
         "f(KestId) COLLATE KEST_TEXT"},
    };
    for (auto [jet, sqlite] : cases) EXPECT_EQ(TranslateJetSql(jet), sqlite) << jet;
    for (const char* bad : {"WHERE d = #13/45/99#", "WHERE d = #9/18/99"}) {
        EXPECT_EQ(ErrorOf([&] { TranslateJetSql(bad); }), err::kSyntaxError) << bad;
    }
}

// Jet's TOP n becomes a LIMIT at the end of its own SELECT; "+" joins texts
// and adds numbers, binding as Jet binds it (looser than "*", tighter than
// "&" and the comparisons); Len() counts characters.
TEST(JetSql, TopPlusAndLenWorkAsInJet) {
    const std::pair<const char*, const char*> cases[] = {
        {"SELECT TOP 2 a FROM t ORDER BY a",
         "SELECT a FROM t ORDER BY a COLLATE KEST_TEXT LIMIT 2"},
        {"SELECT * FROM (SELECT DISTINCT TOP 3 x FROM t) WHERE y",
         "SELECT * FROM (SELECT DISTINCT x FROM t LIMIT 3) WHERE y"},
        {"SELECT '[' + FileDesc + ']' FROM t",
         "SELECT jet_plus(jet_plus('[', FileDesc), ']') FROM t"},
        {"SELECT a * 2 + b / c FROM t", "SELECT jet_plus(a * 2, b * 1.0 / c) FROM t"},
        {"WHERE a & b + c = d", "WHERE a || jet_plus(b, c) = d"},
        {"SELECT f(a) + (b + c), x FROM t", "SELECT jet_plus(f(a), (jet_plus(b, c))), x FROM t"},
        // A number written out keeps SQLite's own addition; a sign is no join.
        {"SELECT n + 1, -a + 1, 'top + 1' FROM t", "SELECT n + 1, -a + 1, 'top + 1' FROM t"},
    };
    for (auto [jet, sqlite] : cases) EXPECT_EQ(TranslateJetSql(jet), sqlite) << jet;

    TempDir dir;
    auto db = test::OpenSampleCatalog(dir);
    EXPECT_EQ(QueryText(*db,
                        "SELECT TOP 1 '[' + FileDesc + ']', Len(FileName), Len('straße') "
                        "FROM tblFiles ORDER BY FileId"),
              "[first]|10|6\n");
    EXPECT_EQ(QueryText(*db,
                        "SELECT FileSize + FileSize, '2' + 3, 1.5 + KestId, Len(NULL), "
                        "'a' + NULL FROM tblFiles WHERE FileId = 1"),
              "3072|5|2.5||\n");
    EXPECT_EQ(ErrorOf([&] { db->Query("SELECT 'a' + KestId FROM tblFiles"); }), err::kEngineError);
}

// Kest's ORDER BY sorts accented names beside their base letters without
// regard to case; the schema keeps SQLite's own NOCASE, so any SQLite tool
// still reads the catalog.
TEST(Database, OrderBySortsTextInTheCatalogsOrder) {
    TempDir dir;
    auto db = Database::Open(test::MakeCatalogFile(dir), "");
    db->Execute("INSERT INTO tblDiscs (DiscLbl) VALUES ('d')");
    for (const char* name : {"zz", "\xC3\x96",
                             "\xC3\xA9"
                             "a",
                             "o", "Eb", "ea"}) {
        auto insert =
            db->Prepare("INSERT INTO tblFiles (KestId, FileDir, FileName) VALUES (1, 'x', ?)");
        insert.Bind(1, std::string(name));
        insert.Run();
    }
    EXPECT_EQ(QueryText(*db, "SELECT FileName FROM tblFiles ORDER BY KestId, FileName"),
              "ea\n\xC3\xA9"
              "a\nEb\no\n\xC3\x96\nzz\n");
    EXPECT_EQ(QueryText(*db, "SELECT sql FROM sqlite_master WHERE sql LIKE '*KEST_TEXT*'"), "");
}

// A search of every file sorts one disc at a time over the KestId index, so
// its first rows come before the last disc is read, not after a sort of all.
TEST(Database, ASearchOfEveryFileSortsOneDiscAtATime) {
    TempDir dir;
    auto db = test::OpenSampleCatalog(dir);
    const std::string plan = QueryText(
        *db,
        "EXPLAIN QUERY PLAN SELECT tblFiles.KestId, tblFiles.FileDir, tblFiles.FileName FROM "
        "tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId WHERE "
        "tblFiles.FileName LIKE '***' ORDER BY tblFiles.KestId, tblFiles.FileDir, "
        "tblFiles.FileName");
    EXPECT_NE(plan.find("RIGHT PART OF ORDER BY"), std::string::npos) << plan;
}

TEST(JetLike, WildcardsListsCaseFoldingAndInvalidUtf8) {
    // Pattern and subject. The last ones: ASCII names take a shorter road than
    // others; folding must not care.
    // clang-format off
    const std::pair<const char*, const char*> matching[] = {
        {"*abc*", "xxABCyy"}, {"a?c", "abc"}, {"file#.txt", "FILE7.TXT"}, {"[a-c]x", "Bx"},
        {"[!a-c]x", "dx"}, {"*a*b", "aXbXb"}, {"*", ""}, {"", ""}, {"*ärg*", "ÄRGER.txt"},
        {"ΣΟΦΊΑ", "σοφία"}, {"[*]x", "*x"}, {"a[", "a["}, {"*.zip", "photos.ZIP"},
        {"*kel*", "\u212AELVIN.txt"}, {"*\u212Aite*", "KITES"}, {"*ab*", "x\u00C0aBy"},
        {"*a?c*", "xxAbCxx"}};
    const std::pair<const char*, const char*> notMatching[] = {
        {"*abc*", "ab"}, {"a?c", "ac"}, {"file#.txt", "filex.txt"}, {"[!a-c]x", "bx"},
        {"*a*b", "aXbXc"}, {"", "a"}, {"[*]x", "ax"}, {"*.zip", "photos.zip.bak"},
        {"*ab*", "x\u00C0a-By"}};
    // clang-format on
    for (auto [pattern, subject] : matching) {
        EXPECT_TRUE(JetLikePattern(pattern).Matches(subject)) << pattern << " ~ " << subject;
    }
    for (auto [pattern, subject] : notMatching) {
        EXPECT_FALSE(JetLikePattern(pattern).Matches(subject)) << pattern << " ~ " << subject;
    }
    // Invalid UTF-8 never matches ASCII by accident.
    EXPECT_TRUE(JetLikePattern("a?b").Matches("a\377b"));
    EXPECT_FALSE(JetLikePattern("a\xc3").Matches("a"));
}

}  // namespace
}  // namespace kest::engine
