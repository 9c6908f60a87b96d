#include "core/engine/FirstRow.h"

#include "core/engine/Database.h"

namespace kest::engine {

std::optional<std::vector<std::string>> FirstRow(Database& db, const std::string& jetSql) {
    Statement query = db.Prepare(jetSql);
    if (!query.Step()) return std::nullopt;
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(query.ColumnCount()));
    for (int c = 0; c < query.ColumnCount(); ++c) texts.push_back(query.Text(c));
    return texts;
}

}  // namespace kest::engine
