#include "core/discfacts/DiscListFacts.h"

#include <algorithm>
#include <cstdlib>

#include "core/discfacts/DiscFactsChange.h"
#include "core/engine/Database.h"
#include "core/text/UnicodeCase.h"

namespace kest::discfacts {
namespace {

constexpr int kFactColumnWidth = 1440;  // twips: an inch

bool Contains(std::string_view text, const std::string& upperPart) {
    return text::UpperCase(text).find(upperPart) != std::string::npos;
}

std::string CellOf(FactColumn column, const DiscFacts& facts) {
    switch (column) {
        case kColumnLocation:
            return facts.location;
        case kColumnTags:
            return JoinTags(facts.tags);
        case kColumnLentTo:
            return facts.lentTo;
        case kColumnDueBack:
            return facts.Lent() ? DayText(facts.dueBack) : std::string();
        case kColumnCatalogued:
            return DayText(facts.catalogued);
        case kColumnCapacity:
            return MegabytesText(facts.capacity);
        case kColumnFreeSpace:
            return MegabytesText(facts.freeSpace);
    }
    return {};
}

}  // namespace

const std::vector<FactColumnName>& FactColumnNames() {
    static const std::vector<FactColumnName> names = {
        {kColumnLocation, "Location "},     {kColumnTags, "Tags "},
        {kColumnLentTo, "Lent To "},        {kColumnDueBack, "Due Back "},
        {kColumnCatalogued, "Catalogued "}, {kColumnCapacity, "Capacity "},
        {kColumnFreeSpace, "Free Space "}};
    return names;
}

std::string JoinTags(const std::vector<std::string>& tags) {
    std::string joined;
    for (const std::string& tag : tags) {
        if (!joined.empty()) joined += ", ";
        if (tag.find_first_of(",\"") == std::string::npos) {
            joined += tag;
            continue;
        }
        joined += '"';
        for (char c : tag) joined += c == '"' ? std::string("\"\"") : std::string(1, c);
        joined += '"';
    }
    return joined;
}

std::vector<std::string> SplitTags(const std::string& typed) {
    std::vector<std::string> tags(1);
    bool quoted = false;
    for (size_t i = 0; i < typed.size(); ++i) {
        char c = typed[i];
        if (c == '"' && quoted && i + 1 < typed.size() && typed[i + 1] == '"') {
            tags.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            tags.emplace_back();
        } else {
            tags.back() += c;
        }
    }
    return tags;  // blanks around and empty tags go when the change is checked
}

std::string DayText(const std::optional<text::DateTime>& date) {
    return date ? text::ToIso(*date).substr(0, 10) : std::string();
}

std::string MegabytesText(const std::optional<int64_t>& bytes) {
    if (!bytes) return {};
    return text::FormatNumber(static_cast<double>(*bytes) / 1048576.0, "#,##0") + " MB";
}

bool Matches(const DiscFilter& filter, const DiscFacts& facts, std::string_view shownText) {
    for (const std::string& tag : filter.tags) {
        if (std::none_of(facts.tags.begin(), facts.tags.end(),
                         [&](const std::string& have) { return SameTag(have, tag); }))
            return false;
    }
    if (!filter.location.empty() && !Contains(facts.location, text::UpperCase(filter.location)))
        return false;
    if (filter.lentOnly && !facts.Lent()) return false;
    if (filter.text.empty()) return true;
    std::string part = text::UpperCase(filter.text);
    if (Contains(shownText, part) || Contains(facts.location, part) ||
        Contains(facts.lentTo, part) || Contains(facts.notes, part))
        return true;
    return std::any_of(facts.tags.begin(), facts.tags.end(),
                       [&](const std::string& tag) { return Contains(tag, part); });
}

void AddFactsToDiscList(ListTable& table, const std::map<int64_t, DiscFacts>& facts,
                        unsigned columns, const DiscFilter& filter) {
    if (columns == 0 && filter.Empty()) return;
    std::vector<ListColumn> header = table.Columns();
    std::vector<FactColumn> added;
    for (const FactColumnName& name : FactColumnNames()) {
        if ((columns & name.column) == 0) continue;
        added.push_back(name.column);
        header.push_back(
            {name.header, static_cast<int>(header.size()), kFactColumnWidth, Alignment::Left});
    }
    ListTable shown;
    shown.Reset(header);
    const DiscFacts none;
    std::string cells;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        std::string id(table.Cell(row, 0));
        int64_t kestId = std::atoll(id.c_str());
        auto found = facts.find(kestId);
        const DiscFacts& disc = found == facts.end() ? none : found->second;
        cells.clear();
        for (size_t c = 0; c < table.ColumnCount(); ++c) cells.append(table.Cell(row, c)) += '\t';
        if (!Matches(filter, disc, cells)) continue;
        for (size_t c = 0; c < table.ColumnCount(); ++c) shown.AddCell(table.Cell(row, c));
        for (FactColumn column : added) shown.AddCell(CellOf(column, disc));
    }
    table = std::move(shown);
}

ListTable LentDiscsTable(const std::vector<LentDisc>& lent) {
    ListTable table;
    table.Reset({{"Kest ID ", 0, kFactColumnWidth, Alignment::Right},
                 {"Disc Description ", 1, kFactColumnWidth * 2, Alignment::Left},
                 {"Lent To ", 2, kFactColumnWidth, Alignment::Left},
                 {"Lent On ", 3, kFactColumnWidth, Alignment::Left},
                 {"Due Back ", 4, kFactColumnWidth, Alignment::Left},
                 {"Overdue ", 5, kFactColumnWidth, Alignment::Left}});
    for (const LentDisc& disc : lent) {
        table.AddCell(std::to_string(disc.kestId));
        table.AddCell(disc.description);
        table.AddCell(disc.facts.lentTo);
        table.AddCell(DayText(disc.facts.lentOn));
        table.AddCell(DayText(disc.facts.dueBack));
        table.AddCell(disc.overdue ? "OVERDUE" : "");
    }
    return table;
}

std::vector<LentDisc> LentDiscs(engine::Database& db, const text::DateTime& today) {
    std::vector<LentDisc> lent;
    std::map<int64_t, DiscFacts> all = LoadAllDiscFacts(db);
    auto rows = db.Prepare("SELECT KestId, DiscDesc FROM tblDiscs");
    while (rows.Step()) {
        auto found = all.find(rows.Int(0));
        if (found == all.end() || !found->second.Lent()) continue;
        lent.push_back({rows.Int(0), rows.Text(1), found->second, found->second.Overdue(today)});
    }
    std::sort(lent.begin(), lent.end(), [](const LentDisc& a, const LentDisc& b) {
        if (a.facts.dueBack.has_value() != b.facts.dueBack.has_value())
            return a.facts.dueBack.has_value();
        if (a.facts.dueBack != b.facts.dueBack) return *a.facts.dueBack < *b.facts.dueBack;
        return a.kestId < b.kestId;
    });
    return lent;
}

}  // namespace kest::discfacts
