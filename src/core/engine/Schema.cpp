// Table definitions on SQLite. Jet field types travel in the declared column
// types (INTEGER, BOOLEAN, TEXT(n), DATETIME, SINGLE); the counter is the
// INTEGER PRIMARY KEY AUTOINCREMENT; text rules are named CHECK constraints
// "<table>.<field>:len" and "<table>.<field>:zls". Indexes are stored as
// "<table>.<index>"; a primary index over the counter, and a plain index that
// repeats an earlier one's fields, are empty partial indexes that only keep
// their name and place (the rowid and the earlier index do their work).
// Ordinal positions live in the engine-internal table _kest_fields; the
// columns are kept in position order, a field just placed going before the
// others of its position (so moving fields one by one gives the order asked).
#include <sqlite3.h>
#include <strings.h>

#include <algorithm>
#include <map>

#include "core/common/Errors.h"
#include "core/engine/AsOneUnit.h"
#include "core/engine/Database.h"
#include "core/engine/EngineError.h"
#include "core/engine/FolderFacts.h"
#include "core/engine/SearchIndex.h"

namespace kest::engine {

namespace {

std::string Quote(const std::string& name) {
    return Quoted(name, '"');
}

bool SameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::vector<std::vector<std::string>> TextRows(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK) ThrowEngineError(db, rc, sqlite3_db_filename(db, "main"));
    std::vector<std::vector<std::string>> rows;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            auto text = sqlite3_column_text(stmt, c);
            row.push_back(text ? reinterpret_cast<const char*>(text) : "");
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) ThrowEngineError(db, rc, sqlite3_db_filename(db, "main"));
    return rows;
}

std::string DefaultLiteral(const FieldDef& field) {
    const std::string& d = field.defaultValue;
    if (SameName(d, "True") || SameName(d, "False")) return SameName(d, "True") ? "1" : "0";
    char* end = nullptr;
    strtod(d.c_str(), &end);
    if (!d.empty() && end && *end == '\0') return d;
    std::string text = d;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return SqlLiteral(text);
}

std::string ColumnSql(const std::string& table, const FieldDef& f) {
    std::string sql = Quote(f.name) + ' ';
    switch (f.type) {
        case FieldType::Long:
            sql += "INTEGER";
            break;
        case FieldType::Boolean:
            sql += "BOOLEAN";
            break;
        case FieldType::Single:
            sql += "SINGLE";
            break;
        case FieldType::Date:
            sql += "DATETIME";
            break;
        case FieldType::Text:
            sql += "TEXT(" + std::to_string(f.size > 0 ? f.size : 255) + ")";
            break;
    }
    if (f.IsCounter()) sql += " PRIMARY KEY AUTOINCREMENT";
    if (f.required) sql += " NOT NULL";
    if (!f.defaultValue.empty()) sql += " DEFAULT " + DefaultLiteral(f);
    if (f.type == FieldType::Text) {
        std::string col = Quote(f.name);
        sql += " COLLATE NOCASE CONSTRAINT " + Quote(table + "." + f.name + ":len") +
               " CHECK (length(" + col + ") <= " + std::to_string(f.size > 0 ? f.size : 255) + ")";
        if (!f.allowZeroLength) {
            sql += " CONSTRAINT " + Quote(table + "." + f.name + ":zls") + " CHECK (length(" + col +
                   ") > 0)";
        }
    }
    return sql;
}

FieldDef ParseField(const std::string& table, const std::vector<std::string>& info,
                    const std::string& tableSql) {
    // info: cid, name, type, notnull, dflt_value, pk
    FieldDef f;
    f.name = info[1];
    std::string type = info[2];
    for (auto& c : type) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    if (type.starts_with("TEXT(")) {
        f.type = FieldType::Text;
        f.size = std::atoi(type.c_str() + 5);
    } else if (type == "BOOLEAN") {
        f.type = FieldType::Boolean;
    } else if (type == "SINGLE" || type.find("REAL") != std::string::npos ||
               type.find("FLOA") != std::string::npos || type.find("DOUB") != std::string::npos) {
        f.type = FieldType::Single;
    } else if (type == "DATETIME") {
        f.type = FieldType::Date;
    } else if (type.find("INT") != std::string::npos || type == "LONG") {
        f.type = FieldType::Long;
    } else {
        f.type = FieldType::Text;
        f.size = 255;
    }
    if (f.type != FieldType::Text) f.size = DefaultFieldSize(f.type);
    f.attributes = f.type == FieldType::Text ? kVariableField : kFixedField;
    if (info[5] != "0" && f.type == FieldType::Long &&
        tableSql.find("AUTOINCREMENT") != std::string::npos) {
        f.attributes |= kAutoIncrField;
    }
    f.required = info[3] != "0";
    f.allowZeroLength = f.type == FieldType::Text &&
                        tableSql.find("\"" + table + "." + f.name + ":zls\"") == std::string::npos;
    std::string d = info[4];
    if (d.size() >= 2 && d.front() == '\'') {
        d = d.substr(1, d.size() - 2);
    } else if (f.type == FieldType::Boolean && (d == "0" || d == "1")) {
        d = d == "1" ? "True" : "False";
    }
    f.defaultValue = d;
    return f;
}

constexpr const char* kFieldsTable = "_kest_fields";

bool IsInternal(const std::string& name) {
    return name.starts_with("sqlite_") || name.starts_with("_kest_");
}

}  // namespace

std::vector<std::string> Database::TableNames() {
    std::vector<std::string> names;
    for (auto& row :
         TextRows(m_db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY rowid")) {
        if (!IsInternal(row[0])) names.push_back(row[0]);
    }
    return names;
}

bool Database::HasTable(const std::string& name) {
    for (const auto& t : TableNames()) {
        if (SameName(t, name)) return true;
    }
    return false;
}

std::vector<std::string> Database::FieldNames(const std::string& table) {
    std::vector<std::string> names;
    for (auto& info : TextRows(m_db, "PRAGMA table_info(" + Quote(table) + ")"))
        names.push_back(info[1]);
    return names;
}

TableDef Database::Table(const std::string& name) {
    auto sqlRows =
        TextRows(m_db, "SELECT name, sql FROM sqlite_master WHERE type='table' AND name=" +
                           SqlLiteral(name) + " COLLATE NOCASE");
    if (sqlRows.empty() || IsInternal(sqlRows[0][0])) {
        throw err::ItemNotFound();
    }
    TableDef table;
    table.name = sqlRows[0][0];
    const std::string& tableSql = sqlRows[0][1];
    for (auto& info : TextRows(m_db, "PRAGMA table_info(" + Quote(table.name) + ")")) {
        table.fields.push_back(ParseField(table.name, info, tableSql));
    }
    // Stored positions, where the engine has recorded them.
    std::map<std::string, int> positions;
    if (!TextRows(m_db, "SELECT 1 FROM sqlite_master WHERE name='_kest_fields'").empty()) {
        for (auto& row : TextRows(
                 m_db, "SELECT field, pos FROM _kest_fields WHERE tbl=" + SqlLiteral(table.name))) {
            positions[row[0]] = std::atoi(row[1].c_str());
        }
    }
    for (size_t i = 0; i < table.fields.size(); ++i) {
        auto it = positions.find(table.fields[i].name);
        table.fields[i].ordinalPosition = it != positions.end() ? it->second : static_cast<int>(i);
    }
    std::string prefix = table.name + ".";
    std::map<std::string, bool> uniqueByName;
    for (auto& list : TextRows(m_db, "PRAGMA index_list(" + Quote(table.name) + ")")) {
        uniqueByName[list[1]] = list[2] != "0";
    }
    for (auto& row :
         TextRows(m_db, "SELECT name FROM sqlite_master WHERE type='index' AND tbl_name=" +
                            SqlLiteral(table.name) + " AND sql IS NOT NULL ORDER BY rowid")) {
        IndexDef index;
        index.name = row[0].starts_with(prefix) ? row[0].substr(prefix.size()) : row[0];
        index.primary = index.name == "PrimaryKey";
        index.unique = uniqueByName[row[0]];
        for (auto& col : TextRows(m_db, "PRAGMA index_info(" + Quote(row[0]) + ")"))
            index.fields.push_back(col[2]);
        table.indexes.push_back(std::move(index));
    }
    return table;
}

namespace {

// Puts the field at index moved among the others by position, before the
// fields that already hold that position.
void PlaceByPosition(std::vector<FieldDef>& fields, std::vector<std::string>& sources,
                     size_t moved) {
    FieldDef field = fields[moved];
    std::string source = sources[moved];
    fields.erase(fields.begin() + static_cast<long>(moved));
    sources.erase(sources.begin() + static_cast<long>(moved));
    size_t at = 0;
    while (at < fields.size() && fields[at].ordinalPosition < field.ordinalPosition) ++at;
    fields.insert(fields.begin() + static_cast<long>(at), field);
    sources.insert(sources.begin() + static_cast<long>(at), source);
}

std::vector<std::string> SameColumns(const TableDef& def) {
    std::vector<std::string> sources;
    for (const auto& f : def.fields) sources.push_back(f.name);
    return sources;
}

size_t FieldIndex(const TableDef& def, const std::string& name) {
    for (size_t i = 0; i < def.fields.size(); ++i) {
        if (SameName(def.fields[i].name, name)) return i;
    }
    throw err::ItemNotFound();
}

}  // namespace

void Database::CreateTable(const TableDef& table) {
    if (HasTable(table.name)) throw err::TableExists(table.name);
    for (size_t i = 0; i < table.fields.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (SameName(table.fields[i].name, table.fields[j].name)) {
                throw err::FieldExists();
            }
        }
    }
    TableDef def = table;
    std::vector<std::string> none(def.fields.size());
    std::stable_sort(
        def.fields.begin(), def.fields.end(),
        [](const FieldDef& a, const FieldDef& b) { return a.ordinalPosition < b.ordinalPosition; });
    AsOneUnit(m_db, "kest_schema", [&] { RebuildTable(def, none); });
}

void Database::AppendField(const std::string& tableName, const FieldDef& field) {
    TableDef def = Table(tableName);
    if (def.Field(field.name)) throw err::FieldExists();
    std::vector<std::string> sources = SameColumns(def);
    def.fields.push_back(field);
    sources.emplace_back();
    PlaceByPosition(def.fields, sources, def.fields.size() - 1);
    AsOneUnit(m_db, "kest_schema", [&] { RebuildTable(def, sources); });
}

void Database::DeleteField(const std::string& tableName, const std::string& fieldName) {
    TableDef def = Table(tableName);
    size_t at = FieldIndex(def, fieldName);
    for (const auto& index : def.indexes) {
        for (const auto& f : index.fields) {
            if (SameName(f, fieldName)) {
                throw err::FieldInIndex();
            }
        }
    }
    std::vector<std::string> sources = SameColumns(def);
    def.fields.erase(def.fields.begin() + static_cast<long>(at));
    sources.erase(sources.begin() + static_cast<long>(at));
    AsOneUnit(m_db, "kest_schema", [&] { RebuildTable(def, sources); });
}

void Database::RenameField(const std::string& tableName, const std::string& from,
                           const std::string& to) {
    TableDef def = Table(tableName);
    size_t at = FieldIndex(def, from);
    const FieldDef* clash = def.Field(to);
    if (clash && clash != &def.fields[at]) throw err::FieldExists();
    std::vector<std::string> sources = SameColumns(def);
    def.fields[at].name = to;
    AsOneUnit(m_db, "kest_schema", [&] { RebuildTable(def, sources); });
}

void Database::SetFieldPosition(const std::string& tableName, const std::string& fieldName,
                                int position) {
    TableDef def = Table(tableName);
    size_t at = FieldIndex(def, fieldName);
    std::vector<std::string> sources = SameColumns(def);
    def.fields[at].ordinalPosition = position;
    PlaceByPosition(def.fields, sources, at);
    AsOneUnit(m_db, "kest_schema", [&] { RebuildTable(def, sources); });
}

void Database::CreateIndex(const std::string& tableName, const IndexDef& index) {
    TableDef table = Table(tableName);
    for (const auto& existing : table.indexes) {
        if (SameName(existing.name, index.name)) {
            throw err::IndexExists();
        }
    }
    std::string cols;
    bool overCounter = index.fields.size() == 1;
    for (const auto& f : index.fields) {
        const FieldDef* field = table.Field(f);
        if (!field) throw err::ItemNotFound();
        overCounter = overCounter && field->IsCounter();
        cols += (cols.empty() ? "" : ", ") + Quote(field->name);
    }
    bool primary = index.primary || index.name == "PrimaryKey";
    // A plain index over the same fields as an earlier one adds nothing a
    // query could use; it keeps only its name and place, so inserts do not
    // pay for it twice.
    bool repeats = false;
    for (const auto& existing : table.indexes) {
        repeats = repeats || (!index.unique && !primary && !existing.primary &&
                              existing.fields == index.fields);
    }
    std::string sql = std::string("CREATE ") + (index.unique || primary ? "UNIQUE " : "") +
                      "INDEX " + Quote(table.name + "." + index.name) + " ON " + Quote(table.name) +
                      " (" + cols + ")";
    if ((primary && overCounter) || repeats) sql += " WHERE 0";
    ExecOrThrow(m_db, sql);
}

// Recreates a table with the fields of def (positions as given), copying
// each column from the old table through sources (new field -> old column),
// then restores the indexes that still have all their fields. With no old
// table it simply creates def.
void Database::RebuildTable(const TableDef& def, const std::vector<std::string>& sources) {
    bool exists = HasTable(def.name);
    if (exists) {
        // The search index's and folder facts' triggers name the columns;
        // the next open rebuilds them.
        DropSearchIndex(m_db);
        DropFolderFacts(m_db);
        m_searchIndexes = 0;
    }
    std::vector<IndexDef> indexes = exists ? Table(def.name).indexes : def.indexes;
    std::vector<std::string> oldNames;
    if (exists) {
        for (const auto& f : Table(def.name).fields) oldNames.push_back(f.name);
    }
    std::string target = exists ? "_kest_rebuild" : def.name;
    std::string sql = "CREATE TABLE " + Quote(target) + " (";
    for (size_t i = 0; i < def.fields.size(); ++i)
        sql += (i ? ", " : "") + ColumnSql(def.name, def.fields[i]);
    ExecOrThrow(m_db, sql + ")");
    if (exists) {
        std::string into, from;
        for (size_t i = 0; i < def.fields.size(); ++i) {
            if (i >= sources.size() || sources[i].empty()) continue;
            into += (into.empty() ? "" : ", ") + Quote(def.fields[i].name);
            from += (from.empty() ? "" : ", ") + Quote(sources[i]);
        }
        if (!into.empty()) {
            ExecOrThrow(m_db, "INSERT INTO " + Quote(target) + " (" + into + ") SELECT " + from +
                                  " FROM " + Quote(def.name));
        }
        ExecOrThrow(m_db, "DROP TABLE " + Quote(def.name));
        ExecOrThrow(m_db, "ALTER TABLE " + Quote(target) + " RENAME TO " + Quote(def.name));
    }
    ExecOrThrow(m_db, std::string("CREATE TABLE IF NOT EXISTS ") + kFieldsTable +
                          " (tbl TEXT, field TEXT, pos INTEGER)");
    ExecOrThrow(m_db,
                std::string("DELETE FROM ") + kFieldsTable + " WHERE tbl=" + SqlLiteral(def.name));
    for (const auto& f : def.fields) {
        ExecOrThrow(m_db, std::string("INSERT INTO ") + kFieldsTable + " VALUES (" +
                              SqlLiteral(def.name) + ", " + SqlLiteral(f.name) + ", " +
                              std::to_string(f.ordinalPosition) + ")");
    }
    // Indexes follow their fields through renames; those that lost a field go.
    for (IndexDef index : indexes) {
        bool complete = true;
        for (auto& n : index.fields) {
            auto source = std::find_if(sources.begin(), sources.end(),
                                       [&](const std::string& s) { return SameName(s, n); });
            if (exists && source != sources.end()) {
                n = def.fields[static_cast<size_t>(source - sources.begin())].name;
            } else if (exists || !def.Field(n)) {
                complete = false;
            }
        }
        if (complete) CreateIndex(def.name, index);
    }
}

}  // namespace kest::engine
