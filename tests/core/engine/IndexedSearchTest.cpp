// The search index: searches give the same rows in the same order with the
// index as without it, whatever the pattern, and the index follows every
// change, survives damage and a full disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "core/engine/EngineError.h"
#include "core/engine/IndexedLike.h"
#include "core/engine/JetLike.h"
#include "core/engine/SearchIndex.h"
#include "core/engine/TrigramQuery.h"
#include "core/search/QueryBuilder.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::engine {
namespace {

using test::QueryText;
using test::TempDir;

// Pieces of awkward names: cases, non-ASCII letters whose folding is not a
// plain lower-casing (Kelvin sign, dotted I, sharp s), FTS5 syntax, quotes,
// wildcards and digits.
const std::vector<std::string> kPieces = {
    "file",
    "FILE",
    "File",
    "\xC3\xA9"
    "cole",
    "\xC3\x89"
    "COLE",
    "stra\xC3\x9F"
    "e",
    "STRASSE",
    "\xC4\xB0stanbul",
    "\xC4\xB1i",
    "\xE2\x84\xAA"
    "elvin",
    "kelvin",
    "\xCE\xA9mega",
    "\xD0\xB6\xD1\x83\xD0\xBA",
    "\xD0\x96\xD0\xA3\xD0\x9A",
    "\xE4\xB8\xAD\xE6\x96\x87",
    "O'Brien",
    "\"quoted\"",
    "a*b",
    "what?",
    "#1",
    "[x]",
    "NEAR",
    "AND",
    "OR",
    "^caret",
    "-dash",
    "x:y",
    "{col}",
    "(p)",
    "a b",
    "123",
    "0042",
    "...",
    "\xEF\xAC\x81"
    "le",
    "\xEF\xBF\xBD",
    "zip",
    ".ZIP",
    "_",
    "%",
    "\xF0\x9F\x98\x80",
};

class Generator {
  public:
    explicit Generator(unsigned seed) : m_rng(seed) {}
    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_rng); }
    bool Chance(int percent) { return Below(100) < static_cast<size_t>(percent); }

    std::string Name() {
        std::string name;
        for (size_t n = 1 + Below(3); n > 0; --n) name += kPieces[Below(kPieces.size())];
        if (Chance(50)) name += std::to_string(Below(1000));
        if (Chance(3)) name = std::string(200, 'x') + name;
        return name.substr(0, 250);
    }

    // A pattern cut from a text that exists, then bent: case flips, "?", "#",
    // sets, stars; or, now and then, a random text.
    std::string Pattern(const std::vector<std::string>& texts) {
        std::string text = Chance(85) ? texts[Below(texts.size())] : Name();
        std::vector<std::string> chars;
        for (size_t i = 0; i < text.size();) {
            size_t n = 1;
            while (i + n < text.size() && (text[i + n] & 0xC0) == 0x80) ++n;
            chars.push_back(text.substr(i, n));
            i += n;
        }
        size_t from = Below(chars.size() + 1), length = Below(12);
        std::string pattern;
        for (size_t i = from; i < chars.size() && i < from + length; ++i) {
            std::string c = chars[i];
            switch (Below(14)) {
                case 0:
                    pattern += "?";
                    break;
                case 1:
                    pattern += c[0] >= '0' && c[0] <= '9' ? "#" : "*";
                    break;
                case 2:
                    pattern += "[" + c + "q]";
                    break;
                case 3:
                    pattern += "[!q" + std::string(Chance(50) ? "-z" : "") + "]";
                    break;
                case 4:
                    pattern += c.size() == 1 && std::isalpha(static_cast<unsigned char>(c[0]))
                                   ? std::string(1, static_cast<char>(c[0] ^ 0x20))
                                   : c;
                    break;
                default:
                    pattern += c;
            }
        }
        if (Chance(5)) pattern += "[";
        return pattern;
    }

  private:
    std::mt19937 m_rng;
};

// A catalog with an index, filled through the triggers, then changed.
class IndexedCatalog : public ::testing::Test {
  protected:
    void SetUp() override {
        m_path = test::MakeCatalogFile(m_dir);
        m_db = Database::Open(m_path, "");
        m_db->BuildSearchIndex();
        ASSERT_TRUE(m_db->SearchIndexComplete());
        Fill(1500);
    }

    void Fill(int files) {
        Generator gen(7);
        m_db->Begin();
        for (int d = 0; d < 3; ++d)
            m_db->Execute(
                "INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl) VALUES ('1', 'x', 'D')");
        auto file = m_db->Prepare(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize, FileDesc) "
            "VALUES (?, ?, ?, 1, ?)");
        auto sub = m_db->Prepare(
            "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileComm) "
            "VALUES (?, ?, ?, ?, ?)");
        for (int i = 0; i < files; ++i) {
            std::string dir = i % 7 == 0 ? "<root>" : gen.Name() + "/";
            std::string name = gen.Name(), desc = gen.Name();
            file.Bind(1, int64_t{i % 3 + 1});
            file.Bind(2, dir);
            file.Bind(3, name);
            if (gen.Chance(30)) {
                file.Bind(4, desc);
                m_texts.push_back(desc);
            } else {
                file.BindNull(4);
            }
            file.Run();
            m_texts.push_back(dir);
            m_texts.push_back(name);
            if (i % 5 == 0) {
                std::string inner = gen.Name();
                sub.Bind(1, int64_t{i % 3 + 1});
                sub.Bind(2, m_db->LastInsertId());
                sub.Bind(3, gen.Name() + "/");
                sub.Bind(4, inner);
                sub.Bind(5, gen.Name());
                sub.Run();
                m_texts.push_back(inner);
            }
        }
        // Changes after the insert: descriptions, renames, deletions.
        m_db->Execute(
            "UPDATE tblFiles SET FileDesc = 'Changed Desc ' & FileId WHERE FileId % 11 = 0");
        m_db->Execute("UPDATE tblFiles SET FileDesc = Null WHERE FileId % 13 = 0");
        m_db->Execute("UPDATE tblFiles SET FileName = 'Renamed' & FileName WHERE FileId % 17 = 0");
        m_db->Execute("DELETE FROM tblFiles WHERE FileId % 19 = 0");
        m_db->Execute("DELETE FROM tblSubFiles WHERE SubFileId % 4 = 0");
        m_db->Execute("UPDATE tblSubFiles SET SubFileComm = 'note' WHERE SubFileId % 3 = 0");
        m_db->Commit();
        m_texts.push_back("Changed Desc 1");
        m_texts.push_back("Renamed");
    }

    // The search statement of a search text over the fields chosen by bits.
    static std::string Statement(const std::string& text, unsigned fields, bool autoAsterisks) {
        search::SearchOptions options;
        options.autoAsterisks = autoAsterisks;
        options.logicalOp = fields & 64 ? kLogicalAnd : kLogicalOr;
        options.inFileName = fields & 1;
        options.inDirectory = fields & 2;
        options.inFileDescription = fields & 4;
        options.searchSub = fields & 8;
        options.inSubFileName = fields & 16;
        options.inSubDirectory = fields & 32;
        options.inSubComment = fields & 8;
        if (!(fields & 15)) options.inFileName = true;
        search::SearchBounds bounds;
        return search::BuildSearchStatement(text, bounds, options);
    }

    // Runs the statement with and without the index; gives the rows.
    std::string ExpectSameRows(const std::string& statement) {
        m_db->UseSearchIndex(false);
        std::string plain = QueryText(*m_db, statement);
        m_db->UseSearchIndex(true);
        EXPECT_EQ(QueryText(*m_db, statement), plain) << statement;
        return plain;
    }

    bool Strengthened(const std::string& statement) { return ViaIndex(statement) != statement; }

    // The statement with each LIKE the index narrows joined by the index
    // lookup itself (what statements whose candidates are too many to list
    // run), for running with the index switched off.
    std::string ViaIndex(const std::string& statement) {
        unsigned complete = 3;
        auto find = [&](const std::string& t, const std::string& c) {
            return FindIndexedColumn(complete, t, c);
        };
        auto few = [&](const std::string& table, const IndexedColumn& column,
                       const std::string& match) -> std::optional<std::string> {
            auto found = FindCandidates(m_db->Handle(), column, match);
            if (!found || !found->few) return std::nullopt;
            return CandidateCondition(table, column, match);
        };
        return StrengthenIndexedLikes(statement, find, few);
    }

    TempDir m_dir;
    std::string m_path;
    std::unique_ptr<Database> m_db;
    std::vector<std::string> m_texts;
};

TEST_F(IndexedCatalog, GeneratedPatternsGiveTheSameRowsInTheSameOrder) {
    Generator gen(2024);
    int indexed = 0, matched = 0;
    constexpr int kPatterns = 3000;
    for (int i = 0; i < kPatterns; ++i) {
        std::string text = gen.Pattern(m_texts);
        if (gen.Chance(15)) text += "," + gen.Pattern(m_texts);
        auto fields = static_cast<unsigned>(gen.Below(128));
        std::string statement = Statement(text, fields, gen.Chance(90));
        if (text.empty() || text.find_first_not_of(", ") == std::string::npos) continue;
        const std::string rows = ExpectSameRows(statement);
        matched += !rows.empty();
        // The fixture's candidates are few enough to be listed: the lookup
        // itself is checked on its own.
        const std::string viaIndex = ViaIndex(statement);
        if (viaIndex == statement) continue;
        ++indexed;
        m_db->UseSearchIndex(false);
        EXPECT_EQ(QueryText(*m_db, viaIndex), rows) << viaIndex;
        m_db->UseSearchIndex(true);
    }
    // The patterns must exercise the index and find rows, not only miss.
    EXPECT_GT(indexed, kPatterns / 4);
    EXPECT_GT(matched, kPatterns / 4);
}

TEST_F(IndexedCatalog, AwkwardPatternsGiveTheSameRows) {
    const std::string patterns[] = {
        "*",
        "**",
        "?",
        "a",
        "ab",
        "*a*",
        "?x*",
        "[",
        "[abc",
        "fi[",
        "[!]",
        "[]",
        "fil[e",
        "\"",
        "\"\"\"",
        "O'Brien",
        "o''brien",
        "NEAR",
        "AND",
        "OR",
        "near(a b)",
        "^caret",
        "-dash",
        "x:y",
        "{col}",
        "file*",
        "*ile",
        "f?le",
        "###",
        "00#2",
        "ZIP",
        "\xC3\xA9"
        "COLE",
        "\xC3\x89"
        "cole",
        "KELVIN",
        "\xE2\x84\xAA"
        "ELVIN",
        "istanbul",
        "\xC4\xB0STANBUL",
        "STRA\xC3\x9F"
        "E",
        "\xD0\xB6\xD1\x83\xD0\xBA",
        "\xD0\x96\xD1\x83\xD0\x9A",
        "\xEF\xAC\x81"
        "LE",
        "\xEF\xBF\xBD",
        "a\xFF"
        "bc",
        "x\\y",
        std::string(10000, 'f'),
        std::string(10000, '*'),
        std::string(5000, '[') + "abc",
        "[a-z][a-z][a-z]",
        "[!a]ile",
        "changed desc",
        "RENAMED",
    };
    for (const auto& p : patterns) {
        for (unsigned fields : {1u, 2u, 4u, 8u | 16u, 8u | 32u, 15u | 48u, 65u | 2u}) {
            search::SearchBounds bounds;
            ExpectSameRows(Statement(p, fields, true));
            ExpectSameRows(Statement(p, fields, false));
        }
    }
}

// Folders are indexed once per run of rows that share them, whether the
// triggers or the builder (after a deferral, as a scan does) made the run;
// rows moved to another folder, renumbered, or written into the gaps that
// deletions left are still found by their folder.
TEST_F(IndexedCatalog, FolderRunsFindEveryRowOfTheirFolder) {
    auto insert = m_db->Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (1, ?, ?, 1)");
    auto addFolder = [&](const std::string& dir, int files) {
        for (int i = 0; i < files; ++i) {
            insert.Bind(1, dir);
            insert.Bind(2, "f" + std::to_string(i));
            insert.Run();
            insert.Reset();
        }
    };
    auto runs = [&] {
        return std::get<int64_t>(
            m_db->Query("SELECT count(*) FROM _kest_fx_files_runs").rows[0][0]);
    };
    const int64_t before = runs();
    for (int d = 0; d < 8; ++d) addFolder("Alpha/Folder" + std::to_string(d) + "/", 40);
    EXPECT_EQ(runs() - before, 8);
    ASSERT_TRUE(m_db->DeferSearchIndex());
    for (int d = 0; d < 8; ++d) addFolder("Beta/Folder" + std::to_string(d % 5) + "/", 40);
    m_db->EndSearchIndexDeferral();
    EXPECT_EQ(runs() - before, 16);
    m_db->Execute("UPDATE tblFiles SET FileDir = 'Moved/Here/' WHERE FileId % 9 = 0");
    m_db->Execute("UPDATE tblFiles SET FileDir = 'ALPHA/FOLDER3/' WHERE FileId % 31 = 0");
    m_db->Execute("DELETE FROM tblFiles WHERE FileId % 10 = 1");
    const int64_t last = m_db->LastInsertId(), gap = (last - 50) / 10 * 10 + 1;
    m_db->Execute("INSERT INTO tblFiles (FileId, KestId, FileDir, FileName) VALUES (" +
                  std::to_string(gap) + ", 2, 'Gamma/Gap/', 'g')");
    m_db->Execute("UPDATE tblFiles SET FileId = " + std::to_string(last + 5) +
                  " WHERE FileId = " + std::to_string(gap + 2));
    addFolder("Beta/Folder4/", 3);
    ASSERT_EQ(CompleteSearchIndexes(m_db->Handle()), 3u);
    for (const char* dir : {"alpha/folder3", "Folder", "beta/folder4/", "Alpha/Folder0", "moved",
                            "Here/", "gamma/gap", "lpha/Fol", "lder"}) {
        for (unsigned fields : {2u, 3u, 66u | 1u}) {
            const std::string statement = Statement(dir, fields, true);
            EXPECT_FALSE(ExpectSameRows(statement).empty()) << dir;
            EXPECT_TRUE(Strengthened(statement)) << dir;
        }
    }
}

// A deferred index takes the rows added so far and stays deferred: rows
// changed after it are followed by the triggers, rows added after it wait
// for the build, which completes it.
TEST_F(IndexedCatalog, DeferredRowsIndexedMeanwhileStayDeferred) {
    auto insert = m_db->Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (1, ?, ?, 1)");
    auto add = [&](const std::string& dir, const std::string& name, int files) {
        for (int i = 0; i < files; ++i) {
            insert.Bind(1, dir);
            insert.Bind(2, name + std::to_string(i));
            insert.Run();
            insert.Reset();
        }
    };
    auto upto = [&] {
        return std::get<int64_t>(
            m_db->Query("SELECT upto FROM _kest_search WHERE tbl = 'tblFiles'").rows[0][0]);
    };
    ASSERT_TRUE(m_db->DeferSearchIndex());
    add("Early/Folder/", "early", 60);
    const int64_t caughtUp = m_db->LastInsertId();
    m_db->IndexDeferredRows();
    EXPECT_EQ(upto(), caughtUp);
    EXPECT_EQ(CompleteSearchIndexes(m_db->Handle()) & 1u, 0u);
    m_db->IndexDeferredRows();  // nothing new: nothing changes
    EXPECT_EQ(upto(), caughtUp);
    add("Late/Folder/", "late", 60);
    m_db->Execute("UPDATE tblFiles SET FileName = 'renamedearly' WHERE FileId = " +
                  std::to_string(caughtUp - 5));
    m_db->Execute("UPDATE tblFiles SET FileDir = 'Moved/Early/' WHERE FileId = " +
                  std::to_string(caughtUp - 7));
    m_db->Execute("DELETE FROM tblFiles WHERE FileId = " + std::to_string(caughtUp - 9));
    m_db->EndSearchIndexDeferral();
    ASSERT_EQ(CompleteSearchIndexes(m_db->Handle()), 3u);
    for (const char* text :
         {"early5", "renamedearly", "late3", "early/folder", "moved/early", "late/folder"}) {
        for (unsigned fields : {1u, 2u}) {
            const std::string statement = Statement(text, fields, true);
            ExpectSameRows(statement);
            EXPECT_TRUE(Strengthened(statement)) << text;
        }
    }
    EXPECT_EQ(ExpectSameRows(Statement("renamedearly", 1, true)).empty(), false);
    EXPECT_EQ(ExpectSameRows(Statement("moved/early", 2, true)).empty(), false);
}

TEST_F(IndexedCatalog, IndexTablesAreNotListed) {
    for (const auto& name : m_db->TableNames()) EXPECT_EQ(name.find("_kest"), std::string::npos);
    EXPECT_FALSE(m_db->HasTable("_kest_fx_files"));
}

// Only LIKEs whose value counts as true or not get the index condition.
TEST(StrengthenIndexedLikes, OnlyTermsWhoseTruthAloneCounts) {
    const IndexedColumn column{"tblFiles", "FileName", "FileId", "_kest_fx_files", nullptr};
    auto strengthen = [&](const std::string& sql) {
        return StrengthenIndexedLikes(
            sql,
            [&](const std::string& t, const std::string& c) {
                return t == "tblFiles" && c == "FileName" ? &column : nullptr;
            },
            [](const std::string& table, const IndexedColumn& c, const std::string& match) {
                return std::optional<std::string>(CandidateCondition(table, c, match));
            });
    };
    const std::string cond =
        " AND tblFiles.FileId IN (SELECT rowid FROM _kest_fx_files WHERE _kest_fx_files MATCH "
        "'\"123\"')";
    const std::pair<std::string, std::string> cases[] = {
        {"SELECT * FROM tblFiles WHERE tblFiles.FileName LIKE '*123*'",
         "SELECT * FROM tblFiles WHERE tblFiles.FileName LIKE '*123*'" + cond},
        {"SELECT * FROM tblFiles WHERE ((a = 1) OR (tblFiles.FileName LIKE \"*123*\")) ORDER BY x",
         "SELECT * FROM tblFiles WHERE ((a = 1) OR (tblFiles.FileName LIKE \"*123*\"" + cond +
             ")) ORDER BY x"},
        {"SELECT * FROM tblFiles WHERE (s BETWEEN 1 AND 2) AND tblFiles.FileName LIKE '123'",
         "SELECT * FROM tblFiles WHERE (s BETWEEN 1 AND 2) AND tblFiles.FileName LIKE '123'" +
             cond},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(strengthen(in), out) << in;
    const std::string untouched[] = {
        "SELECT * FROM tblFiles WHERE NOT tblFiles.FileName LIKE '*123*'",
        "SELECT * FROM tblFiles WHERE NOT (tblFiles.FileName LIKE '*123*')",
        "SELECT * FROM tblFiles WHERE (tblFiles.FileName LIKE '*123*') = 0",
        "SELECT * FROM tblFiles WHERE tblFiles.FileName LIKE '*123*' IS NULL",
        "SELECT * FROM tblFiles WHERE IIf(tblFiles.FileName LIKE '*123*', 1, 0)",
        "SELECT * FROM tblFiles WHERE s BETWEEN 1 AND tblFiles.FileName LIKE '*123*'",
        "SELECT * FROM tblFiles WHERE a IN (SELECT 1 WHERE tblFiles.FileName LIKE '*123*')",
        "SELECT tblFiles.FileName LIKE '*123*' FROM tblFiles",
        "SELECT * FROM tblFiles WHERE tblFiles.FileName LIKE '*12*3*'",
        "SELECT * FROM tblFiles WHERE tblFiles.FileDir LIKE '*123*'",
        "SELECT * FROM tblFiles WHERE FileName LIKE '*123*'",
        "SELECT * FROM tblFiles WHERE tblFiles.FileName LIKE '*123*' ESCAPE 'x'",
        "UPDATE tblFiles SET FileDesc = 'x' WHERE tblFiles.FileName LIKE '*123*'",
        "SELECT * FROM tblFiles ORDER BY tblFiles.FileName LIKE '*123*'",
    };
    for (const auto& in : untouched) EXPECT_EQ(strengthen(in), in) << in;
}

// The index query of a pattern: its literal runs of three or more, in every
// spelling that folds to them, FTS5 syntax kept inside strings.
TEST(TrigramQuery, RunsBecomeSpelledTrigrams) {
    const std::pair<std::string, std::string> cases[] = {
        {"*a*", ""},
        {"?x*", ""},
        {"ab*cd?ef#", ""},
        {"[abc]d[!e]", ""},
        {"*123*", "\"123\""},
        {"*1\"2*", "\"1\"\"2\""},
        {"*1^2", "\"1^2\""},
        {"*a1-", "(\"A1-\" OR \"a1-\")"},
        {"12[3", "\"12[\" AND \"2[3\""},
        {"*k12*",
         "(\"K12\" OR \"\xE2\x84\xAA"
         "12\" OR \"k12\")"},
        {"\xEF\xBF\xBD"
         "12",
         ""},
    };
    for (const auto& [pattern, query] : cases) EXPECT_EQ(TrigramQuery(pattern), query) << pattern;
    // Long runs give at most three trigrams, apart from each other where
    // they can be, those of fewest spellings first.
    EXPECT_EQ(TrigramQuery("0123456789012"), "\"012\" AND \"345\" AND \"678\"");
    EXPECT_EQ(TrigramQuery("*12345*"), "\"123\" AND \"234\" AND \"345\"");
    EXPECT_EQ(TrigramQuery("*x1234*"), "\"123\" AND \"234\" AND (\"X12\" OR \"x12\")");
    // So do runs of thousands of characters, weighing only their first trigrams.
    std::string longRun;
    for (int i = 0; i < 10000; ++i) longRun += static_cast<char>('0' + (i * 7919) % 10);
    std::string many = TrigramQuery(longRun);
    EXPECT_EQ(std::count(many.begin(), many.end(), '"'), 6);
}

// The spellings table generated at build time is what folding every code
// point with the library gives, in order.
TEST(TrigramQuery, GeneratedSpellingsTableIsTheLibrarysFolding) {
    std::vector<std::pair<char32_t, char32_t>> expected;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        char32_t folded = FoldCodePoint(c);
        if (folded != c) expected.emplace_back(folded, c);
    }
    std::sort(expected.begin(), expected.end());
    std::vector<std::pair<char32_t, char32_t>> generated;
    for (const auto& u : Unfoldings()) generated.emplace_back(u.folded, u.source);
    EXPECT_GT(generated.size(), 1000u);
    EXPECT_TRUE(generated == expected);
}

std::unique_ptr<Database> Reopened(std::unique_ptr<Database>& db, const std::string& path) {
    db.reset();
    return Database::Open(path, "");
}

// A scan that never ends (the program killed) leaves its index deferred,
// without insert triggers: the next open builds it afresh, so a row another
// program added below the mark meanwhile is found too.
TEST_F(IndexedCatalog, AnIndexLeftDeferredIsBuiltAfreshOnTheNextOpen) {
    ASSERT_TRUE(m_db->DeferSearchIndex());
    m_db->Execute(
        "INSERT INTO tblFiles (KestId, FileDir, FileName) VALUES (1, 'Zq Scan/', 'zqlate')");
    m_db->IndexDeferredRows();
    m_db->Execute("DELETE FROM tblFiles WHERE FileId = 7");
    m_db->Execute(
        "INSERT INTO tblFiles (FileId, KestId, FileDir, FileName) VALUES (7, 1, 'Zq Hand/', "
        "'zqput')");
    m_db = Reopened(m_db, m_path);
    EXPECT_EQ(CompleteSearchIndexes(m_db->Handle()), 0u);
    m_db->BuildSearchIndex();
    ASSERT_EQ(CompleteSearchIndexes(m_db->Handle()), 3u);
    for (const char* text : {"zqlate", "zqput", "zq hand/", "zq scan/"}) {
        const std::string statement = Statement(text, 3, true);
        EXPECT_FALSE(ExpectSameRows(statement).empty()) << text;
        EXPECT_TRUE(Strengthened(statement)) << text;
    }
}

// Hand-made damage is found on open; the next build repairs it, and until
// then the searches read every row.
TEST_F(IndexedCatalog, DamageIsDetectedAndRebuilt) {
    const std::string statement = Statement("file1", 1, true);
    m_db->UseSearchIndex(false);
    const std::string expected = QueryText(*m_db, statement);
    const std::string damages[] = {
        "DROP TABLE _kest_fx_files",
        "DROP TRIGGER _kest_fx_files_update",
        "DROP TABLE _kest_search",
        "DELETE FROM _kest_fx_files_data WHERE id > 10",
        "UPDATE _kest_fx_files_data SET block = x'ffffffff' WHERE id > 1",
        "DROP TABLE _kest_fx_subfiles_runs",
        "DELETE FROM _kest_fx_files_runs",
        "DELETE FROM _kest_fx_files_dirs_data WHERE id > 10",
        "DROP TABLE _kest_fx_files_desc",
        "UPDATE _kest_fx_files_desc_data SET block = x'ff' WHERE id = 10",  // undroppable
        "UPDATE _kest_fx_files_config SET v = 5 WHERE k = 'version'",       // undroppable
        "UPDATE _kest_fx_files_dirs_config SET v = 5 WHERE k = 'version'",  // undroppable
        "DELETE FROM tblFiles WHERE FileId < 50",  // with the triggers gone first, below
    };
    for (const auto& damage : damages) {
        if (damage.starts_with("DELETE FROM tblFiles"))
            m_db->Execute("DROP TRIGGER _kest_fx_files_delete");
        sqlite3* handle = m_db->Handle();
        ExecOrThrow(handle, damage);
        m_db = Reopened(m_db, m_path);
        EXPECT_FALSE(m_db->SearchIndexComplete() && CompleteSearchIndexes(m_db->Handle()) == 3u)
            << damage;
        m_db->UseSearchIndex(false);
        std::string reference = QueryText(*m_db, statement);
        m_db->UseSearchIndex(true);
        EXPECT_EQ(QueryText(*m_db, statement), reference) << damage;
        m_db->BuildSearchIndex();
        EXPECT_EQ(CompleteSearchIndexes(m_db->Handle()), 3u) << damage;
        EXPECT_EQ(QueryText(*m_db, statement), reference) << damage;
        EXPECT_TRUE(Strengthened(statement));
    }
}

// An index whose pages fail while a search reads them: the search runs
// without it, and the index goes, to be built anew.
TEST_F(IndexedCatalog, AnIndexThatFailsGivesWayToTheFullRead) {
    const std::string statement = Statement("file1", 1, true);
    m_db->UseSearchIndex(false);
    const std::string expected = QueryText(*m_db, statement);
    m_db->UseSearchIndex(true);
    ExecOrThrow(m_db->Handle(), "DELETE FROM _kest_fx_files_data WHERE id > 10");
    EXPECT_EQ(QueryText(*m_db, statement), expected);
    EXPECT_EQ(CompleteSearchIndexes(m_db->Handle()), 0u);
    m_db->BuildSearchIndex();
    EXPECT_EQ(CompleteSearchIndexes(m_db->Handle()), 3u);
}

// A disk that fills during the build: the catalog stays usable and a later
// build resumes from the last slice.
TEST_F(IndexedCatalog, AFullDiskStopsTheBuildWhichResumesLater) {
    const std::string statement = Statement("file", 3, true);
    m_db->UseSearchIndex(false);
    const std::string expected = QueryText(*m_db, statement);
    DropSearchIndex(m_db->Handle());
    ExecOrThrow(m_db->Handle(), "VACUUM");
    m_db = Reopened(m_db, m_path);
    int64_t pages = 0;
    {
        auto rows = m_db->Query("PRAGMA page_count");
        pages = std::get<int64_t>(rows.rows[0][0]);
    }
    ExecOrThrow(m_db->Handle(), "PRAGMA max_page_count = " + std::to_string(pages + 40));
    int64_t reached = 0, firstTotal = 0;
    auto note = [&](int64_t done, int64_t total) {
        reached = done;
        firstTotal = total;
    };
    EXPECT_THROW(BuildSearchIndex(m_db->Handle(), note, 50), KestError);
    EXPECT_GT(reached, 0);
    EXPECT_EQ(QueryText(*m_db, statement), expected);
    ExecOrThrow(m_db->Handle(), "PRAGMA max_page_count = 1000000");
    int64_t resumedTotal = -1;
    BuildSearchIndex(
        m_db->Handle(), [&](int64_t, int64_t total) { resumedTotal = total; }, 200);
    EXPECT_EQ(resumedTotal, firstTotal - reached);
    EXPECT_EQ(CompleteSearchIndexes(m_db->Handle()), 3u);
    m_db = Reopened(m_db, m_path);
    EXPECT_TRUE(Strengthened(statement));
    EXPECT_EQ(QueryText(*m_db, statement), expected);
}

// A disk that fills while a scan indexes its rows meanwhile: nothing of that
// indexing stays, the index stays deferred, and the build at the end (here,
// once there is room) completes it.
TEST_F(IndexedCatalog, AFullDiskStopsTheIndexingMeanwhileWithoutHarm) {
    ASSERT_TRUE(m_db->DeferSearchIndex());
    auto upto = [&] {
        return std::get<int64_t>(
            m_db->Query("SELECT upto FROM _kest_search WHERE tbl = 'tblFiles'").rows[0][0]);
    };
    const int64_t before = upto();
    auto insert = m_db->Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (1, ?, ?, 1)");
    for (int i = 0; i < 3000; ++i) {
        insert.Bind(1, "Full/Disk" + std::to_string(i / 50) + "/");
        insert.Bind(2, "crowded" + std::to_string(i) + ".bin");
        insert.Run();
        insert.Reset();
    }
    const int64_t pages = std::get<int64_t>(m_db->Query("PRAGMA page_count").rows[0][0]);
    ExecOrThrow(m_db->Handle(), "PRAGMA max_page_count = " + std::to_string(pages + 2));
    EXPECT_THROW(m_db->IndexDeferredRows(), KestError);
    EXPECT_EQ(upto(), before);
    EXPECT_EQ(CompleteSearchIndexes(m_db->Handle()) & 1u, 0u);
    ExecOrThrow(m_db->Handle(), "PRAGMA max_page_count = 1000000");
    m_db->EndSearchIndexDeferral();
    ASSERT_EQ(CompleteSearchIndexes(m_db->Handle()), 3u);
    for (const char* text : {"crowded2999", "full/disk7/"}) {
        const std::string statement = Statement(text, 3, true);
        EXPECT_FALSE(ExpectSameRows(statement).empty()) << text;
        EXPECT_TRUE(Strengthened(statement)) << text;
    }
}

// A copy made by VACUUM INTO keeps the index; a schema change drops it.
TEST_F(IndexedCatalog, CopiesKeepTheIndexAndSchemaChangesDropIt) {
    std::string copy = m_dir.File("copy.kst");
    ExecOrThrow(m_db->Handle(), "VACUUM INTO '" + copy + "'");
    auto copied = Database::Open(copy, "");
    EXPECT_EQ(CompleteSearchIndexes(copied->Handle()), 3u);
    m_db->AppendField("tblFiles",
                      FieldDef{"Extra", FieldType::Long, 4, kFixedField, false, false, "", 9});
    EXPECT_FALSE(m_db->SearchIndexComplete());
    m_db->Execute("INSERT INTO tblFiles (KestId, FileDir, FileName) VALUES (1, 'a/', 'after')");
    m_db->BuildSearchIndex();
    EXPECT_EQ(CompleteSearchIndexes(m_db->Handle()), 3u);
    EXPECT_EQ(QueryText(*m_db, Statement("after", 1, true)).empty(), false);
}

}  // namespace
}  // namespace kest::engine

namespace kest::engine {
namespace {

// More matches than the index lists by counter (yet few enough among many
// rows for the index to narrow the read), from an index built in several
// slices: the same rows as a full read.
TEST(IndexSlices, ManyMatchesFromAnIndexBuiltSliceBySlice) {
    TempDir dir;
    std::string path = test::MakeCatalogFile(dir, "many.kst");
    auto db = Database::Open(path, "");
    db->Execute("INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl) VALUES ('1', 'x', 'D')");
    const int64_t rows = 66000, matches = 2100;
    db->Begin();
    {
        auto file = db->Prepare(
            "INSERT INTO tblFiles (KestId, FileDir, FileName, FileSize) VALUES (1, ?, ?, 1)");
        for (int64_t i = 0; i < rows; ++i) {
            file.Bind(1, "dir" + std::to_string(i / 1000) + "/");
            // Every thirty-first row matches, spread over every slice.
            file.Bind(2, (i % 31 == 0 && i / 31 < matches ? "needle" : "hay") + std::to_string(i));
            file.Run();
            file.Reset();
        }
    }
    db->Commit();
    DropSearchIndex(db->Handle());
    int slices = 0;
    BuildSearchIndex(
        db->Handle(), [&](int64_t, int64_t) { ++slices; }, 7000);
    EXPECT_GT(slices, 9);
    db.reset();
    db = Database::Open(path, "");
    const std::string sql =
        "SELECT FileId FROM tblFiles WHERE FileName LIKE '*needle*' OR FileDir LIKE '*dir65/*' "
        "ORDER BY FileId";
    ASSERT_GT(matches, static_cast<int64_t>(kListedCandidates));
    ASSERT_LT(matches, rows / 30);
    std::string indexed = QueryText(*db, sql);
    db->UseSearchIndex(false);
    EXPECT_EQ(QueryText(*db, sql), indexed);
    EXPECT_EQ(std::count(indexed.begin(), indexed.end(), '\n'), matches + 1000 - 3);
}

}  // namespace
}  // namespace kest::engine
