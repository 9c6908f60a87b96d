#include "core/discfacts/DiscFacts.h"

#include <ctime>

#include "core/engine/AsOneUnit.h"
#include "core/engine/Database.h"
#include "core/engine/DiscFactsTables.h"
#include "core/text/DateParse.h"

namespace kest::discfacts {
namespace {

std::optional<text::DateTime> DateColumn(const engine::Statement& row, int column) {
    if (row.IsNull(column)) return std::nullopt;
    return text::ParseIsoDateTime(row.Text(column));
}

std::optional<int64_t> NumberColumn(const engine::Statement& row, int column) {
    if (row.IsNull(column)) return std::nullopt;
    return row.Int(column);
}

void BindDate(engine::Statement& statement, int index, const std::optional<text::DateTime>& dt) {
    if (dt)
        statement.Bind(index, text::ToIso(*dt));
    else
        statement.BindNull(index);
}

void BindNumber(engine::Statement& statement, int index, const std::optional<int64_t>& n) {
    if (n)
        statement.Bind(index, *n);
    else
        statement.BindNull(index);
}

constexpr const char* kSelect =
    "SELECT KestId, catalogued, recatalogued, capacity, free_space, location, lent_to, lent_on, "
    "due_back, notes FROM _kest_disc_facts";

DiscFacts ReadRow(const engine::Statement& row) {
    DiscFacts facts;
    facts.kestId = row.Int(0);
    facts.catalogued = DateColumn(row, 1);
    facts.recatalogued = DateColumn(row, 2);
    facts.capacity = NumberColumn(row, 3);
    facts.freeSpace = NumberColumn(row, 4);
    facts.location = row.Text(5);
    facts.lentTo = row.Text(6);
    facts.lentOn = DateColumn(row, 7);
    facts.dueBack = DateColumn(row, 8);
    facts.notes = row.Text(9);
    return facts;
}

}  // namespace

bool DiscFacts::Overdue(const text::DateTime& today) const {
    if (!Lent() || !dueBack) return false;
    text::DateTime due = *dueBack;
    due.hour = 23, due.minute = 59, due.second = 59;  // due back by the day's end
    return today > due;
}

text::DateTime Now() {
    return text::FromTimeT(std::time(nullptr));
}

DiscFacts LoadDiscFacts(engine::Database& db, int64_t kestId) {
    DiscFacts facts;
    facts.kestId = kestId;
    if (!engine::HasDiscFactsTables(db)) return facts;
    auto row = db.Prepare(std::string(kSelect) + " WHERE KestId = ?");
    row.Bind(1, kestId);
    if (row.Step()) facts = ReadRow(row);
    auto tags = db.Prepare("SELECT tag FROM _kest_disc_tags WHERE KestId = ? ORDER BY rowid");
    tags.Bind(1, kestId);
    while (tags.Step()) facts.tags.push_back(tags.Text(0));
    return facts;
}

std::map<int64_t, DiscFacts> LoadAllDiscFacts(engine::Database& db) {
    std::map<int64_t, DiscFacts> all;
    if (!engine::HasDiscFactsTables(db)) return all;
    auto rows = db.Prepare(kSelect);
    while (rows.Step()) all.emplace(rows.Int(0), ReadRow(rows));
    auto tags = db.Prepare("SELECT KestId, tag FROM _kest_disc_tags ORDER BY rowid");
    while (tags.Step()) {
        DiscFacts& facts = all[tags.Int(0)];
        facts.kestId = tags.Int(0);
        facts.tags.push_back(tags.Text(1));
    }
    return all;
}

void SaveDiscFacts(engine::Database& db, const DiscFacts& facts) {
    engine::CreateDiscFactsTables(db);
    engine::AsOneUnit(db.Handle(), "kest_disc_facts", [&] {
        auto write = db.Prepare(
            "INSERT OR REPLACE INTO _kest_disc_facts (KestId, catalogued, recatalogued, "
            "capacity, free_space, location, lent_to, lent_on, due_back, notes) VALUES (?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?)");
        write.Bind(1, facts.kestId);
        BindDate(write, 2, facts.catalogued);
        BindDate(write, 3, facts.recatalogued);
        BindNumber(write, 4, facts.capacity);
        BindNumber(write, 5, facts.freeSpace);
        write.Bind(6, facts.location);
        write.Bind(7, facts.lentTo);
        BindDate(write, 8, facts.lentOn);
        BindDate(write, 9, facts.dueBack);
        write.Bind(10, facts.notes);
        write.Run();
        auto clear = db.Prepare("DELETE FROM _kest_disc_tags WHERE KestId = ?");
        clear.Bind(1, facts.kestId);
        clear.Run();
        auto tag = db.Prepare("INSERT OR IGNORE INTO _kest_disc_tags (KestId, tag) VALUES (?, ?)");
        for (const std::string& text : facts.tags) {
            tag.Reset();
            tag.Bind(1, facts.kestId);
            tag.Bind(2, text);
            tag.Run();
        }
    });
}

void RecordCatalogued(engine::Database& db, int64_t kestId, const text::DateTime& now,
                      std::optional<int64_t> capacity, std::optional<int64_t> freeSpace,
                      const std::optional<DiscFacts>& replaced) {
    DiscFacts facts = replaced.value_or(DiscFacts{});
    facts.kestId = kestId;
    if (replaced) {
        facts.catalogued = replaced->catalogued.value_or(now);
        facts.recatalogued = now;
    } else {
        facts.catalogued = now;
    }
    facts.capacity = capacity;
    facts.freeSpace = freeSpace;
    SaveDiscFacts(db, facts);
}

}  // namespace kest::discfacts
