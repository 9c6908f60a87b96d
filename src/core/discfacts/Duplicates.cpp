#include "core/discfacts/Duplicates.h"

#include <xxhash.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <unordered_map>

#include "core/engine/Database.h"
#include "core/engine/DiscFactsTables.h"
#include "core/text/TextOrder.h"

namespace kest::discfacts {
namespace {

// The catalog is read twice: first every file's identity as a 128-bit hash
// (name folded as the name column compares, size, date when asked, or the
// content hash), sorted to find the identities that repeat; then the rows
// of those identities in full. Only the second pass reads folders, and only
// for the rows it keeps. A 128-bit collision is beyond reach; groups are
// still split by the exact identity text in the second pass.
struct Keyed {
    XXH128_hash_t key;
    int64_t fileId;
    int64_t kestId;
};

bool KeyLess(const Keyed& a, const Keyed& b) {
    if (a.key.high64 != b.key.high64) return a.key.high64 < b.key.high64;
    if (a.key.low64 != b.key.low64) return a.key.low64 < b.key.low64;
    return a.kestId < b.kestId;
}

bool SameKey(const Keyed& a, const Keyed& b) {
    return XXH128_isEqual(a.key, b.key) != 0;
}

std::string DiscCondition(const CopyRule& rule, const char* column) {
    if (!rule.discs) return {};
    std::string ids;
    for (int64_t id : *rule.discs) ids += (ids.empty() ? "" : ", ") + std::to_string(id);
    return std::string(" WHERE ") + column + " IN (" + ids + ")";
}

class Identities {
  public:
    Identities(engine::Database& db, const CopyRule& rule) : m_rule(rule) {
        if (!rule.byHash || !engine::HasDiscFactsTables(db)) return;
        auto rows = db.Prepare("SELECT FileId, xxh3 FROM _kest_file_hashes" +
                               DiscCondition(rule, "KestId"));
        while (rows.Step()) m_hashes.emplace(rows.Int(0), rows.Text(1));
    }

    // The identity's text: "h" and the content hash, or "n", the folded
    // name, the size and the date.
    const std::string& Of(int64_t fileId, std::string_view name, std::string_view size,
                          std::string_view date) {
        std::string& out = m_scratch;
        out.clear();
        if (auto hash = m_hashes.find(fileId); hash != m_hashes.end()) {
            out.append("h").append(hash->second);
            return out;
        }
        out.append("n");
        for (char c : name) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        out.append(1, '\0').append(size);
        if (m_rule.sameDate) out.append(1, '\0').append(date);
        return out;
    }
    std::string HashOf(int64_t fileId) const {
        auto hash = m_hashes.find(fileId);
        return hash == m_hashes.end() ? std::string() : hash->second;
    }

  private:
    const CopyRule& m_rule;
    std::unordered_map<int64_t, std::string> m_hashes;
    std::string m_scratch;
};

// Pass one: every file's key, sorted.
std::vector<Keyed> KeysOfFiles(engine::Database& db, const CopyRule& rule, Identities& ids) {
    std::vector<Keyed> keys;
    auto rows = db.Prepare("SELECT FileId, KestId, FileName, FileSize, FileDate FROM tblFiles" +
                           DiscCondition(rule, "KestId"));
    std::string s1, s2, s3;
    while (rows.Step()) {
        int64_t fileId = rows.Int(0);
        const std::string& id =
            ids.Of(fileId, rows.TextView(2, s1), rows.TextView(3, s2), rows.TextView(4, s3));
        keys.push_back({XXH3_128bits(id.data(), id.size()), fileId, rows.Int(1)});
    }
    std::sort(keys.begin(), keys.end(), KeyLess);
    return keys;
}

// The runs of equal keys that pass: each kept file's run number, by FileId
// (kNone for the others), and how many runs there are.
constexpr uint32_t kNone = UINT32_MAX;
struct ChosenRuns {
    std::vector<uint32_t> runOf;
    uint32_t runs = 0;
};
template <typename Keep>
ChosenRuns ChooseRuns(const std::vector<Keyed>& keys, Keep keep) {
    ChosenRuns chosen;
    int64_t largest = 0;
    for (const Keyed& key : keys) largest = std::max(largest, key.fileId);
    chosen.runOf.assign(keys.empty() ? 0 : static_cast<size_t>(largest) + 1, kNone);
    for (size_t i = 0; i < keys.size();) {
        size_t end = i + 1;
        while (end < keys.size() && SameKey(keys[end], keys[i])) ++end;
        if (keep(keys[i], keys[end - 1], end - i)) {
            for (size_t k = i; k < end; ++k)
                chosen.runOf[static_cast<size_t>(keys[k].fileId)] = chosen.runs;
            ++chosen.runs;
        }
        i = end;
    }
    return chosen;
}

bool FileOrder(const CatalogFile& a, const CatalogFile& b) {
    if (a.kestId != b.kestId) return a.kestId < b.kestId;
    if (int order = text::CompareText(a.folder, b.folder)) return order < 0;
    if (int order = text::CompareText(a.name, b.name)) return order < 0;
    return a.fileId < b.fileId;
}

// Pass two: the chosen rows in full, grouped by their run, each group in file
// order and split by the exact identity should two identities share a key.
std::vector<std::vector<CatalogFile>> GroupsOf(engine::Database& db, const CopyRule& rule,
                                               Identities& ids, const ChosenRuns& chosen) {
    std::vector<std::vector<CatalogFile>> runs(chosen.runs);
    auto read =
        db.Prepare("SELECT FileId, KestId, FileDir, FileName, FileSize, FileDate FROM tblFiles" +
                   DiscCondition(rule, "KestId"));
    while (read.Step()) {
        auto fileId = static_cast<size_t>(read.Int(0));
        if (fileId >= chosen.runOf.size() || chosen.runOf[fileId] == kNone) continue;
        runs[chosen.runOf[fileId]].push_back(
            {read.Int(0), read.Int(1), read.Text(2), read.Text(3), read.Int(4), read.Text(5)});
    }
    std::vector<std::vector<CatalogFile>> groups;
    groups.reserve(runs.size());
    for (auto& run : runs) {
        std::sort(run.begin(), run.end(), FileOrder);
        auto identity = [&](const CatalogFile& file) {
            return ids.Of(file.fileId, file.name, std::to_string(file.size), file.date);
        };
        const std::string first = identity(run.front());
        bool same = std::all_of(run.begin() + 1, run.end(),
                                [&](const CatalogFile& file) { return identity(file) == first; });
        if (same) {
            groups.push_back(std::move(run));
            continue;
        }
        std::map<std::string, std::vector<CatalogFile>> split;
        for (CatalogFile& file : run) split[identity(file)].push_back(std::move(file));
        for (auto& [text, files] : split) groups.push_back(std::move(files));
    }
    return groups;
}

}  // namespace

std::vector<DuplicateGroup> FindDuplicates(engine::Database& db, const CopyRule& rule) {
    Identities ids(db, rule);
    ChosenRuns chosen =
        ChooseRuns(KeysOfFiles(db, rule, ids),
                   [](const Keyed&, const Keyed&, size_t size) { return size > 1; });
    std::vector<DuplicateGroup> groups;
    for (auto& copies : GroupsOf(db, rule, ids, chosen)) {
        if (copies.size() < 2) continue;
        DuplicateGroup group;
        group.name = copies.front().name;
        group.size = copies.front().size;
        group.hash = ids.HashOf(copies.front().fileId);
        group.copies = std::move(copies);
        groups.push_back(std::move(group));
    }
    std::sort(groups.begin(), groups.end(), [](const DuplicateGroup& a, const DuplicateGroup& b) {
        if (a.Waste() != b.Waste()) return a.Waste() > b.Waste();
        if (int order = text::CompareText(a.name, b.name)) return order < 0;
        if (a.size != b.size) return a.size < b.size;
        return a.copies.front().fileId < b.copies.front().fileId;
    });
    return groups;
}

std::vector<CatalogFile> FilesOnOneDisc(engine::Database& db, const CopyRule& rule) {
    Identities ids(db, rule);
    // Sorted by disc within the key: one disc when the first and last agree.
    ChosenRuns chosen = ChooseRuns(
        KeysOfFiles(db, rule, ids),
        [](const Keyed& first, const Keyed& last, size_t) { return first.kestId == last.kestId; });
    std::vector<CatalogFile> files;
    for (auto& group : GroupsOf(db, rule, ids, chosen))
        if (group.front().kestId == group.back().kestId)
            for (auto& file : group) files.push_back(std::move(file));
    std::sort(files.begin(), files.end(), FileOrder);
    return files;
}

}  // namespace kest::discfacts
