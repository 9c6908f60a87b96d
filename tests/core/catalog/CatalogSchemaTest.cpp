#include <gtest/gtest.h>

#include "core/catalog/CatalogPaths.h"
#include "core/catalog/CatalogSchema.h"
#include "core/common/KestError.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"

namespace kest {
namespace {

using test::TempDir;

std::string Describe(const engine::TableDef& t) {
    std::string out = t.name + "\n";
    for (const auto& f : t.fields) {
        out += std::to_string(f.ordinalPosition) + " " + f.name + " " +
               engine::FieldTypeName(f.type) + " " + std::to_string(f.size) +
               " req=" + std::to_string(f.required) + " zls=" + std::to_string(f.allowZeroLength) +
               " def=" + f.defaultValue + " attr=" + std::to_string(f.attributes) + "\n";
    }
    for (const auto& i : t.indexes) {
        out += "index " + i.name + " " + std::to_string(i.primary) + std::to_string(i.unique) +
               " " + i.fields[0] + "\n";
    }
    return out;
}

TEST(CatalogSchema, NewCatalogHoldsExactlyTheThreeTablesAsDefined) {
    TempDir dir;
    auto db = engine::Database::Open(test::MakeCatalogFile(dir), "");
    EXPECT_EQ(db->TableNames(), (std::vector<std::string>{"tblDiscs", "tblFiles", "tblSubFiles"}));
    EXPECT_EQ(Describe(db->Table("tblDiscs")), Describe(DiscsTableDef()));
    EXPECT_EQ(Describe(db->Table("TBLFILES")), Describe(FilesTableDef()));
    EXPECT_EQ(Describe(db->Table("tblSubFiles")), Describe(SubFilesTableDef()));
    EXPECT_EQ(Describe(db->Table("tblFiles")),
              "tblFiles\n"
              "0 FileId Long 4 req=0 zls=0 def= attr=17\n"
              "1 KestId Long 4 req=1 zls=0 def=1 attr=1\n"
              "2 FileDir Text 255 req=1 zls=0 def= attr=2\n"
              "3 FileName Text 255 req=1 zls=0 def= attr=2\n"
              "4 FileAtt Text 255 req=0 zls=1 def= attr=2\n"
              "5 FileSize Long 4 req=0 zls=0 def=0 attr=1\n"
              "6 FileDate Date 8 req=0 zls=0 def= attr=1\n"
              "7 FileDesc Text 255 req=0 zls=1 def= attr=2\n"
              "index FileId 00 KestId\n"
              "index PrimaryKey 11 FileId\n"
              "index KestId 00 KestId\n");
    auto sub = db->Table("tblSubFiles");
    EXPECT_EQ(sub.indexes[2].name, "KestId");
    EXPECT_EQ(sub.indexes[2].fields[0], "FileId");
    EXPECT_EQ(sub.Field("SubFileEncr")->defaultValue, "False");
}

TEST(CatalogSchema, BuilderFailureShowsItsMessageAndReturnsFalse) {
    TempDir dir;
    auto db = engine::Database::Open(test::MakeCatalogFile(dir), "");
    test::ScriptedPrompter prompter;
    prompter.ExpectNotice(
        "Kest", "Error Creating Database Table: tblFiles\r3010\rTable 'tblFiles' already exists.",
        Icon::None);
    EXPECT_FALSE(BuildFilesTable(*db, prompter));
}

TEST(CatalogPaths, SplitAndDirectory) {
    struct Case {
        const char* path;
        const char* dir;
        const char* name;
    } cases[] = {
        {"/home/u/kest001.kst", "/home/u/", "kest001.kst"},
        {"C:\\data\\a.kst", "C:\\data\\", "a.kst"},
        {"a.kst", "", "a.kst"},
        {"/x/", "/x/", ""},
    };
    for (const auto& c : cases) {
        auto [dir, name] = SplitPath(c.path);
        EXPECT_EQ(dir, c.dir);
        EXPECT_EQ(name, c.name);
    }
    EXPECT_EQ(GetDirectory("  /home/u/kest001.kst "), "/home/u");
    EXPECT_EQ(GetDirectory("/kest.kst"), "");
    EXPECT_THROW(GetDirectory("kest.kst"), KestError);
}

}  // namespace
}  // namespace kest
