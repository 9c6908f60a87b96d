#include "core/discfacts/CopyLists.h"

#include <charconv>

#include "core/discfacts/DiscRange.h"
#include "core/engine/Database.h"

namespace kest::discfacts {
namespace {

ListColumn Shown(const char* header, int tag, Alignment alignment = Alignment::Left) {
    return {header, tag, 1440, alignment};
}

}  // namespace

ListTable DuplicatesTable(const std::vector<DuplicateGroup>& groups) {
    ListTable table;
    table.Reset({Shown("Group ", 0, Alignment::Right),
                 Shown("File Name ", 1),
                 Shown("File Size ", 2, Alignment::Right),
                 Shown("Copies ", 3, Alignment::Right),
                 Shown("Waste ", 4, Alignment::Right),
                 Shown("Kest ID ", 5, Alignment::Right),
                 Shown("Directory ", 6),
                 Shown("File Date ", 7),
                 {"FileId", -1, 0}});
    for (size_t g = 0; g < groups.size(); ++g) {
        const DuplicateGroup& group = groups[g];
        for (const CatalogFile& copy : group.copies) {
            table.AddCell(std::to_string(g + 1));
            table.AddCell(copy.name);
            table.AddCell(std::to_string(group.size));
            table.AddCell(std::to_string(group.copies.size()));
            table.AddCell(std::to_string(group.Waste()));
            table.AddCell(std::to_string(copy.kestId));
            table.AddCell(copy.folder);
            table.AddCell(copy.date);
            table.AddCell(std::to_string(copy.fileId));
        }
    }
    return table;
}

ListTable SingleCopyTable(const std::vector<CatalogFile>& files) {
    ListTable table;
    table.Reset({Shown("Kest ID ", 0, Alignment::Right),
                 Shown("Directory ", 1),
                 Shown("File Name ", 2),
                 Shown("File Size ", 3, Alignment::Right),
                 Shown("File Date ", 4),
                 {"FileId", -1, 0}});
    for (const CatalogFile& file : files) {
        table.AddCell(std::to_string(file.kestId));
        table.AddCell(file.folder);
        table.AddCell(file.name);
        table.AddCell(std::to_string(file.size));
        table.AddCell(file.date);
        table.AddCell(std::to_string(file.fileId));
    }
    return table;
}

size_t FileIdColumn(const ListTable& table) {
    return table.ColumnCount() - 1;
}

std::optional<int64_t> FileIdOfRow(const ListTable& table, size_t row) {
    if (row >= table.RowCount() || table.ColumnCount() == 0) return std::nullopt;
    std::string_view cell = table.Cell(row, FileIdColumn(table));
    int64_t fileId = 0;
    auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), fileId);
    if (error != std::errc() || end != cell.data() + cell.size()) return std::nullopt;
    return fileId;
}

bool IsCatalogued(engine::Database& db, int64_t fileId) {
    auto row = db.Prepare("SELECT 1 FROM tblFiles WHERE FileId = " + std::to_string(fileId));
    return row.Step();
}

CopyRule RuleFromTyped(engine::Database& db, const std::string& discs, bool sameDate) {
    CopyRule rule;
    rule.sameDate = sameDate;
    if (discs.find_first_not_of(' ') != std::string::npos)
        rule.discs = ParseDiscList(discs, CatalogDiscIds(db));
    return rule;
}

}  // namespace kest::discfacts
