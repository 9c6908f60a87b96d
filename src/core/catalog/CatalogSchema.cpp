#include "core/catalog/CatalogSchema.h"

#include "core/common/KestError.h"

namespace kest {

using engine::FieldDef;
using engine::FieldType;
using engine::IndexDef;
using engine::TableDef;

namespace {

FieldDef Counter(const char* name, int position) {
    return FieldDef{name,  FieldType::Long, 4,  engine::kAutoIncrField | engine::kFixedField,
                    false, false,           "", position};
}

FieldDef Fixed(const char* name, FieldType type, int position, bool required = false,
               const char* defaultValue = "") {
    return FieldDef{
        name,         type,    engine::DefaultFieldSize(type), engine::kFixedField, required, false,
        defaultValue, position};
}

FieldDef Text(const char* name, int position, bool required = false) {
    // Required text fields refuse the zero-length string too.
    return FieldDef{name,     FieldType::Text, 255, engine::kVariableField,
                    required, !required,       "",  position};
}

IndexDef Index(const char* name, const char* field, bool primary = false) {
    return IndexDef{name, primary, primary, {field}};
}

bool Build(engine::Database& db, Prompter& prompter, const TableDef& table) {
    try {
        db.CreateTable(table);
        return true;
    } catch (const KestError& e) {
        prompter.Show(kAppTitle, "Error Creating Database Table: " + table.name + "\r" +
                                     std::to_string(e.Number()) + "\r" + e.Description());
        return false;
    }
}

}  // namespace

TableDef DiscsTableDef() {
    return TableDef{
        "tblDiscs",
        {Counter("KestId", 0), Text("DiscSer", 1), Text("DiscFSys", 2), Text("DiscLbl", 3),
         Text("DiscDesc", 4), Fixed("DiscNumF", FieldType::Long, 5, false, "0")},
        {Index("PrimaryKey", "KestId", true), Index("KestId", "KestId")}};
}

TableDef FilesTableDef() {
    return TableDef{"tblFiles",
                    {Counter("FileId", 0), Fixed("KestId", FieldType::Long, 1, true, "1"),
                     Text("FileDir", 2, true), Text("FileName", 3, true), Text("FileAtt", 4),
                     Fixed("FileSize", FieldType::Long, 5, false, "0"),
                     Fixed("FileDate", FieldType::Date, 6), Text("FileDesc", 7)},
                    {Index("FileId", "KestId"), Index("PrimaryKey", "FileId", true),
                     Index("KestId", "KestId")}};
}

TableDef SubFilesTableDef() {
    return TableDef{
        "tblSubFiles",
        {Counter("SubFileId", 0), Fixed("KestId", FieldType::Long, 1, true, "1"),
         Fixed("FileId", FieldType::Long, 2, true, "1"), Text("SubFileDir", 3, true),
         Text("SubFileName", 4, true), Text("SubFileAtt", 5), Text("SubFileCRC", 6),
         Fixed("SubFileSize", FieldType::Long, 7, false, "0"),
         Fixed("SubFileCSize", FieldType::Long, 8, false, "0"),
         Fixed("SubFileRatio", FieldType::Single, 9, false, "0"),
         Fixed("SubFileDate", FieldType::Date, 10), Text("SubFileComm", 11),
         Fixed("SubFileMeth", FieldType::Long, 12, false, "0"), Text("SubFileSMeth", 13),
         Fixed("SubFileEncr", FieldType::Boolean, 14, false, "False"),
         Fixed("SubFileFlags", FieldType::Long, 15, false, "0")},
        {Index("FileId", "FileId"), Index("PrimaryKey", "SubFileId", true),
         Index("KestId", "FileId"), Index("KestId1", "KestId")}};
}

bool BuildDiscsTable(engine::Database& db, Prompter& prompter) {
    return Build(db, prompter, DiscsTableDef());
}
bool BuildFilesTable(engine::Database& db, Prompter& prompter) {
    return Build(db, prompter, FilesTableDef());
}
bool BuildSubFilesTable(engine::Database& db, Prompter& prompter) {
    return Build(db, prompter, SubFilesTableDef());
}

}  // namespace kest
