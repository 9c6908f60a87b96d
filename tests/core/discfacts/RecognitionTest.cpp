// Recognition: which catalogued discs a mounted volume is.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/discfacts/DiscFacts.h"
#include "core/discfacts/Recognition.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::discfacts {
namespace {

class RecognitionTest : public ::testing::Test {
  protected:
    void SetUp() override { db = engine::Database::Open(test::MakeCatalogFile(dir), ""); }
    int64_t AddDisc(const std::string& serial, const std::string& label,
                    const std::string& description, int64_t files) {
        auto insert = db->Prepare(
            "INSERT INTO tblDiscs (DiscSer, DiscLbl, DiscDesc, DiscNumF) VALUES (?, ?, ?, ?)");
        insert.Bind(1, serial);
        insert.Bind(2, label);
        insert.Bind(3, description);
        insert.Bind(4, files);
        insert.Run();
        return db->LastInsertId();
    }
    test::TempDir dir;
    std::unique_ptr<engine::Database> db;
};

TEST_F(RecognitionTest, OneDiscSeveralOrNone) {
    AddDisc("0000-0001", "OTHER", "x", 1);
    int64_t holiday = AddDisc("1234-ABCD", "PHOTOS", "Holiday 1999", 3456);
    RecordCatalogued(*db, holiday, {2026, 11, 2, 10, 0, 0}, std::nullopt, std::nullopt, {});
    Recognition one = Recognize(*db, "PHOTOS", "1234-abcd");
    EXPECT_TRUE(one.Known());
    EXPECT_EQ(one.Message(),
              "PHOTOS (1234-abcd) is disc 2 of the catalog: Holiday 1999, 3,456 files, "
              "catalogued 2026-11-02.");

    // A second disc with the same serial: both are named, none is picked.
    AddDisc("1234-ABCD", "PHOTOS", "Holiday copy", 1);
    EXPECT_EQ(Recognize(*db, "PHOTOS", "1234-ABCD").Message(),
              "PHOTOS (1234-ABCD) matches 2 discs of the catalog:\n"
              "disc 2: Holiday 1999, 3,456 files, catalogued 2026-11-02.\n"
              "disc 3: Holiday copy, 1 file.");

    Recognition none = Recognize(*db, "", "9999-0000");
    EXPECT_FALSE(none.Known());
    EXPECT_EQ(none.Message(), "Disc with no label (9999-0000) is not in the catalog.");
}

TEST_F(RecognitionTest, AVolumeWithoutASerialIsKnownByItsLabelAmongDiscsWithoutOne) {
    AddDisc("0000-0000", "USBSTICK", "stick", 10);
    AddDisc("5555-5555", "USBSTICK", "other stick", 10);
    Recognition found = Recognize(*db, "usbstick", "0000-0000");
    ASSERT_EQ(found.discs.size(), 1u);
    EXPECT_EQ(found.discs[0].kestId, 1);
    EXPECT_EQ(found.Message(), "usbstick (no serial) is disc 1 of the catalog: stick, 10 files.");
    EXPECT_FALSE(Recognize(*db, "", "").Known());
}

}  // namespace
}  // namespace kest::discfacts
