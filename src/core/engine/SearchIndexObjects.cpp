#include "core/engine/SearchIndexObjects.h"

#include "core/engine/EngineError.h"

namespace kest::engine {

namespace {

const std::string kFts =
    " content='', detail=none, columnsize=0, tokenize='trigram case_sensitive 1')";

// The statement that adds (or removes) the row's text of name column i to
// its index, when the text is there and the condition holds.
std::string ForOne(const IndexSource& s, size_t i, const char* row, bool remove,
                   const std::string& condition) {
    const std::string index = s.nameIndexes[i], value = std::string(row) + "." + s.names[i];
    return "INSERT INTO " + index + " (" + (remove ? index + ", " : "") + "rowid, " + s.names[i] +
           ") SELECT " + (remove ? "'delete', " : "") + row + "." + s.key + ", " + value +
           " WHERE " + value + " IS NOT NULL" + condition + "; ";
}

std::string ForNames(const IndexSource& s, const char* row, bool remove) {
    return ForOne(s, 0, row, remove, "") + ForOne(s, 1, row, remove, "");
}

}  // namespace

const std::vector<IndexSource>& IndexSources() {
    static const std::vector<IndexSource> sources = {
        {"tblFiles",
         "FileId",
         {"FileName", "FileDesc"},
         {"_kest_fx_files", "_kest_fx_files_desc"},
         "FileDir",
         "_kest_fx_files_dirs",
         "_kest_fx_files_runs"},
        {"tblSubFiles",
         "SubFileId",
         {"SubFileName", "SubFileComm"},
         {"_kest_fx_subfiles", "_kest_fx_subfiles_comm"},
         "SubFileDir",
         "_kest_fx_subfiles_dirs",
         "_kest_fx_subfiles_runs"},
    };
    return sources;
}

const std::vector<IndexedColumn>& IndexedColumns() {
    static const std::vector<IndexedColumn> columns = [] {
        std::vector<IndexedColumn> all;
        for (const auto& s : IndexSources()) {
            for (size_t i = 0; i < 2; ++i)
                all.push_back({s.table, s.names[i], s.key, s.nameIndexes[i], nullptr});
            all.push_back({s.table, s.dir, s.key, s.dirs, s.runs});
        }
        return all;
    }();
    return columns;
}

SqlObjects TableSql(const IndexSource& s) {
    SqlObjects objects;
    for (size_t i = 0; i < 2; ++i)
        objects.push_back({s.nameIndexes[i], std::string("CREATE VIRTUAL TABLE ") +
                                                 s.nameIndexes[i] + " USING fts5(" + s.names[i] +
                                                 "," + kFts});
    objects.push_back({s.dirs, std::string("CREATE VIRTUAL TABLE ") + s.dirs + " USING fts5(" +
                                   s.dir + "," + kFts});
    objects.push_back({s.runs, std::string("CREATE TABLE ") + s.runs +
                                   " (id INTEGER PRIMARY KEY, lo INTEGER NOT NULL, "
                                   "hi INTEGER NOT NULL, dir TEXT)"});
    std::string trigger = std::string(s.runs) + "_insert";
    objects.push_back({trigger, "CREATE TRIGGER " + trigger + " AFTER INSERT ON " + s.runs +
                                    " BEGIN INSERT INTO " + s.dirs + " (rowid, " + s.dir +
                                    ") VALUES (new.id, new.dir); END"});
    return objects;
}

// A new row extends the last run when it follows it in the same folder, else
// starts a run; a row whose folder or counter changes gets a run of its own.
// Runs are never taken back: a run that names a row no longer in its folder
// only adds a candidate, which the LIKE then turns down. An update reindexes
// only the names that changed.
SqlObjects TriggerSql(const IndexSource& s, bool complete) {
    const std::string upto = std::string("(SELECT upto FROM ") + kSearchStateTable +
                             " WHERE tbl = " + SqlLiteral(s.table) + ")";
    auto passed = [&](const char* row) {
        return complete ? std::string() : std::string(" AND ") + row + "." + s.key + " <= " + upto;
    };
    auto when = [&](const char* row) {
        return complete ? std::string(" ")
                        : std::string(" WHEN ") + row + "." + s.key + " <= " + upto + " ";
    };
    const std::string key = std::string("new.") + s.key, dir = std::string("new.") + s.dir;
    const std::string lastRun = std::string("id = (SELECT max(id) FROM ") + s.runs + ")";
    const std::string sameDir = " AND dir IS " + dir + " COLLATE BINARY";
    const std::string newRun = std::string("INSERT INTO ") + s.runs + " (lo, hi, dir) SELECT " +
                               key + ", " + key + ", " + dir + " WHERE ";
    const std::string extend = std::string("UPDATE ") + s.runs + " SET hi = " + key + " WHERE " +
                               lastRun + " AND hi = " + key + " - 1" + sameDir + "; " + newRun +
                               "NOT EXISTS (SELECT 1 FROM " + s.runs + " WHERE " + lastRun +
                               " AND hi = " + key + sameDir + "); ";
    const std::string moved = " (" + key + " <> old." + s.key;
    std::string update;
    for (size_t i = 0; i < 2; ++i) {
        const std::string changed =
            moved + " OR new." + s.names[i] + " IS NOT old." + s.names[i] + " COLLATE BINARY)";
        update += ForOne(s, i, "old", true, " AND" + changed + passed("old"));
        update += ForOne(s, i, "new", false, " AND" + changed + passed("new"));
    }
    update += newRun + moved + " OR " + dir + " IS NOT old." + s.dir + " COLLATE BINARY)" +
              passed("new") + "; ";
    const std::string name = s.nameIndexes[0];
    const std::string on = std::string(" ON ") + s.table;
    const std::string columns =
        std::string(s.key) + ", " + s.names[0] + ", " + s.names[1] + ", " + s.dir;
    return {
        {name + "_insert", "CREATE TRIGGER " + name + "_insert AFTER INSERT" + on + when("new") +
                               "BEGIN " + ForNames(s, "new", false) + extend + "END"},
        {name + "_delete", "CREATE TRIGGER " + name + "_delete AFTER DELETE" + on + when("old") +
                               "BEGIN " + ForNames(s, "old", true) + "END"},
        {name + "_update", "CREATE TRIGGER " + name + "_update AFTER UPDATE OF " + columns + on +
                               " BEGIN " + update + "END"},
    };
}

}  // namespace kest::engine
