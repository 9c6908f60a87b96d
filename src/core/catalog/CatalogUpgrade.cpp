#include "core/catalog/CatalogUpgrade.h"

#include "core/catalog/CatalogSchema.h"
#include "core/common/DurableFile.h"
#include "core/common/KestError.h"

namespace kest {

using engine::FieldDef;
using engine::FieldType;

namespace {

FieldDef TextField(const char* name, int position) {
    return FieldDef{name, FieldType::Text, 255, engine::kVariableField, false, true, "", position};
}

// Moves the converted copy of a field into the place and name of the original.
void ReplaceField(engine::Database& db, const char* table, const char* field, const char* temp,
                  int position) {
    db.DeleteField(table, field);
    db.SetFieldPosition(table, temp, position);
    db.RenameField(table, temp, field);
}

}  // namespace

bool MakeBackup(std::unique_ptr<engine::Database>& database, const std::string& path,
                const std::string& backupPath, const std::string& password) {
    database.reset();
    try {
        // Flushed to the disk before the upgrade changes the original.
        CopyFileDurably(path, backupPath);
        database = engine::Database::Open(path, password);
        return true;
    } catch (const KestError&) {
        return false;
    }
}

void UpgradeCatalog(engine::Database& db, Prompter& prompter) {
    db.AppendField("tblFiles",
                   FieldDef{"FileId", FieldType::Long, 4,
                            engine::kAutoIncrField | engine::kFixedField, false, false, "", 0});
    const char* order[] = {"KestId", "FileDir", "FileName", "FileAtt", "FileSize", "FileDate"};
    for (int i = 0; i < 6; ++i) db.SetFieldPosition("tblFiles", order[i], i + 1);
    db.AppendField("tblFiles", TextField("FileDesc", 7));
    db.AppendField("tblFiles", TextField("tempAtt", 8));
    db.AppendField("tblFiles", FieldDef{"tempSize", FieldType::Long, 4, engine::kFixedField, false,
                                        false, "0", 9});
    db.CreateIndex("tblFiles", engine::IndexDef{"PrimaryKey", true, true, {"FileId"}});

    db.Execute("UPDATE tblFiles SET FileDir = '<root>'WHERE FileDir = '[root]';");
    db.Execute("UPDATE tblFiles SET FileSize = FileSize * 1000000;");
    db.Execute("UPDATE tblFiles SET tempAtt = FileAtt;");
    ReplaceField(db, "tblFiles", "FileAtt", "tempAtt", 4);
    db.Execute("UPDATE tblFiles SET tempSize = FileSize;");
    ReplaceField(db, "tblFiles", "FileSize", "tempSize", 5);

    db.AppendField("tblDiscs", TextField("tempDS", 7));
    db.AppendField("tblDiscs", TextField("tempDFS", 8));
    db.AppendField("tblDiscs", TextField("tempDL", 9));
    db.Execute("UPDATE tblDiscs SET tempDS = DiscSer;");
    ReplaceField(db, "tblDiscs", "DiscSer", "tempDS", 2);
    db.Execute("UPDATE tblDiscs SET tempDFS = DiscFSys;");
    ReplaceField(db, "tblDiscs", "DiscFSys", "tempDFS", 3);
    db.Execute("UPDATE tblDiscs SET tempDL = DiscLbl;");
    ReplaceField(db, "tblDiscs", "DiscLbl", "tempDL", 4);

    db.CreateTable(SubFilesTableDef());
    prompter.Show("DB update success",
                  "Success in updating the database format!\r\n\r\nFor optimum performance, please "
                  "compact the "
                  "database.",
                  Icon::Information);
}

}  // namespace kest
