// The damage suite: catalogs made as a user makes them, damaged in seeded
// ways, then repaired and compacted. Each run must finish in time, leave a
// catalog that opens and passes the engine's check, hold every row that the
// suite's own page reader finds on a page the damage left alone, search the
// same with and without its index, print the number of rows it lost and keep
// the damaged original. KEST_DAMAGE_LONG=1 (or --long) runs the long suite;
// --cases N sets the number of damaged catalogs, --only N runs case N alone.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <thread>

#include "CatalogMaker.h"
#include "Faults.h"
#include "ReferenceReader.h"
#include "SuitePrompter.h"
#include "core/catalog/CompactCatalog.h"
#include "core/catalog/RepairCatalog.h"
#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "core/engine/Salvage.h"
#include "support/TempDir.h"
#include "support/catalog/RecordingHost.h"

namespace kest::damage {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kBoundSeconds = 30;  // one repair or compaction of a small catalog

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct Base {
    Variant variant;
    std::string path;
    std::string bytes;
    Rows rows;
    PageMap map;
};

struct Totals {
    int64_t catalogs = 0, runs = 0, finished = 0, refused = 0, undetected = 0, wrongCounts = 0;
    int64_t rowsBefore = 0, rowsKept = 0;
    // Over the runs that lost rows: the engine's reading alone, and ours.
    int64_t engineKept = 0, engineBefore = 0, pagesKept = 0, pagesBefore = 0;
    int64_t altered = 0, invented = 0, failures = 0, schemaLost = 0;
    int64_t cutShort = 0;  // counts that are a lower bound, said so
};

// Rows of the catalog as it is against the rows of its sound original.
struct Comparison {
    int64_t kept = 0, lost = 0, altered = 0, invented = 0, before = 0;
};

Comparison Compare(const Rows& before, const Rows& after) {
    Comparison c;
    for (const auto& [table, rows] : before) {
        auto found = after.find(table);
        for (const auto& [rowid, text] : rows) {
            ++c.before;
            if (found == after.end() || !found->second.contains(rowid))
                ++c.lost;
            else if (found->second.at(rowid) == text)
                ++c.kept;
            else
                ++c.altered;
        }
    }
    for (const auto& [table, rows] : after) {
        auto found = before.find(table);
        for (const auto& [rowid, text] : rows)
            if (found == before.end() || !found->second.contains(rowid)) ++c.invented;
    }
    return c;
}

std::vector<std::pair<std::string, uint32_t>> Roots(const std::string& path,
                                                    const std::string& password) {
    std::vector<std::pair<std::string, uint32_t>> roots{{"sqlite_master", 1}};
    auto db = engine::Database::Open(path, password);
    for (const auto& row : db->Query("SELECT name, rootpage FROM sqlite_master").rows)
        if (std::holds_alternative<int64_t>(row[1]) && std::get<int64_t>(row[1]) > 0)
            roots.emplace_back(std::get<std::string>(row[0]),
                               static_cast<uint32_t>(std::get<int64_t>(row[1])));
    return roots;
}

class Suite {
  public:
    // only: run that case alone (-1: all).
    Suite(bool longRun, int64_t cases, int64_t only)
        : m_long(longRun), m_cases(cases), m_only(only) {}

    int Run() {
        MakeBases();
        std::atomic<bool> done{false};
        std::thread watchdog([&] { Watch(done); });
        for (int64_t i = 0; i < m_cases; ++i)
            if (m_only < 0 || i == m_only) RunCase(i);
        done = true;
        watchdog.join();
        Print();
        return m_totals.failures == 0 ? 0 : 1;
    }

  private:
    void MakeBases() {
        int count = m_long ? 16 : 8;
        for (int b = 0; b < count; ++b) {
            Variant v;
            v.seed = static_cast<uint32_t>(1000 + b);
            v.files = m_long ? 1500 : 150;
            v.compacted = b & 1;
            v.password = b & 2;
            v.halfIndexed = b & 4;
            Base base;
            base.variant = v;
            base.path = m_dir.File("base" + std::to_string(b) + ".kst");
            MakeCatalog(base.path, m_dir.Path() / "work", v);
            std::string password = v.password ? kPassword : "";
            base.rows = ReadRows(base.path, password);
            base.bytes = ReadBytes(base.path);
            base.map = MapPages(base.bytes, Roots(base.path, password));
            m_bases.push_back(std::move(base));
        }
    }

    void Watch(const std::atomic<bool>& done) {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            auto started = m_caseStart.load();
            if (started != 0 &&
                Clock::now().time_since_epoch().count() - started > int64_t{120} * 1000000000) {
                std::fprintf(stderr, "damage: case %s did not finish in 120 s\n",
                             m_current.c_str());
                std::_Exit(2);
            }
        }
    }

    void Fail(const std::string& why) {
        ++m_totals.failures;
        if (m_totals.failures <= 40)
            std::fprintf(stderr, "FAIL %s: %s\n", m_current.c_str(), why.c_str());
    }

    void RunCase(int64_t i) {
        const Base& base = m_bases[static_cast<size_t>(i) % m_bases.size()];
        std::mt19937 random(static_cast<uint32_t>(i * 7919 + 17));
        auto fault = static_cast<Fault>((i / static_cast<int64_t>(m_bases.size())) %
                                        static_cast<int64_t>(Fault::Count));
        std::string bytes = base.bytes, what;
        // A fault with nothing to hit in this catalog gives way to the next.
        for (int tries = 0; !Damage(bytes, base.map, fault, random, what); ++tries) {
            bytes = base.bytes;
            fault =
                static_cast<Fault>((static_cast<int>(fault) + 1) % static_cast<int>(Fault::Count));
        }
        ++m_totals.catalogs;
        m_schemaHit =
            PageBytes(bytes, base.map.pageSize, 1) != PageBytes(base.bytes, base.map.pageSize, 1);
        // KEST_DAMAGE_KEEP=N keeps case N's damaged file, to look into.
        if (const char* keep = std::getenv("KEST_DAMAGE_KEEP"); keep && std::atoll(keep) == i)
            WriteBytes("/tmp/kest-damage-" + std::to_string(i) + ".kst", bytes);
        std::string password = base.variant.password ? kPassword : "";
        m_current = "#" + std::to_string(i) + " base " + std::to_string(base.variant.seed) + " " +
                    FaultName(fault) + " (" + what + ")";
        Operate(base, bytes, password, false);
        Operate(base, bytes, password, true);
    }

    // Repairs (or compacts) a copy of the damaged bytes and checks the outcome.
    void Operate(const Base& base, const std::string& bytes, const std::string& password,
                 bool compact) {
        ++m_totals.runs;
        std::string path = m_dir.File(compact ? "compact.kst" : "repair.kst");
        for (const char* suffix : {"", ".damaged", ".salvage", ".bdb", "-wal", "-shm"})
            fs::remove(path + suffix);
        WriteBytes(path, bytes);
        test::RecordingHost host;
        SuitePrompter prompter;
        prompter.password = password;
        m_caseStart = Clock::now().time_since_epoch().count();
        auto started = Clock::now();
        if (compact) {
            CompactCatalog(host, prompter, path, password);
        } else {
            CurrentCatalog none;
            prompter.files.push_back(path);
            RepairCommand(none, host, prompter);
        }
        double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        m_caseStart = 0;
        std::string tag = compact ? "compact: " : "repair: ";
        if (seconds > kBoundSeconds) return Fail(tag + "took " + std::to_string(seconds) + " s");
        ++m_totals.finished;
        std::string success, error;
        for (const auto& box : prompter.shown) {
            if (box.icon == Icon::Information && box.title.find("successful") != std::string::npos)
                success = box.text;
            else
                error = box.title + ": " + box.text;
        }
        if (!error.empty()) {
            // Refused (a schema that cannot be read): nothing may have changed.
            ++m_totals.refused;
            if (std::getenv("KEST_DAMAGE_VERBOSE"))
                std::fprintf(stderr, "refused %s %s%s\n", m_current.c_str(), tag.c_str(),
                             error.c_str());
            if (ReadBytes(path) != bytes) Fail(tag + "refused and changed the file: " + error);
            if (fs::exists(path + ".salvage") || fs::exists(path + ".bdb"))
                Fail(tag + "left a temporary file");
            return;
        }
        std::smatch match;
        static const std::regex kLost("\\r\\n(\\d+) damaged rows could not be recovered\\.");
        static const std::regex kKept("The damaged original was kept as (.*)\\.(\\r\\n|$)");
        bool salvaged = std::regex_search(success, match, kLost);
        int64_t printed = salvaged ? std::stoll(match[1]) : 0;
        if (salvaged) {
            if (!std::regex_search(success, match, kKept) || ReadBytes(match[1]) != bytes)
                Fail(tag + "the damaged original was not kept");
        } else {
            // Without damage a repair rebuilds only the search index; the
            // catalog's rows are checked below like any other outcome's.
            ++m_totals.undetected;
        }
        bool lockLost =
            success.find("could not be recovered: the catalog now opens") != std::string::npos;
        bool cutShort = success.find("\r\nThe file was cut short: ") != std::string::npos ||
                        success.find(" damaged pages could not be counted.") != std::string::npos;
        CheckCatalog(base, bytes, path, lockLost ? "" : password, {printed, cutShort}, salvaged,
                     tag, !compact);
    }

    // The count of lost rows a report printed; a file cut short makes it a
    // lower bound (the rows of the missing pages cannot be counted).
    struct Printed {
        int64_t count = 0;
        bool lowerBound = false;
    };

    void CheckCatalog(const Base& base, const std::string& bytes, const std::string& path,
                      const std::string& password, Printed printed, bool salvaged,
                      const std::string& tag, bool measureEngine) {
        Rows rows;
        try {
            auto db = engine::Database::Open(path, password);
            auto problems = db->IntegrityProblems();
            if (!problems.empty()) Fail(tag + "integrity: " + problems.front());
            CheckSearch(*db, tag, salvaged);
            db.reset();
            rows = ReadRows(path, password);
        } catch (const KestError& e) {
            return Fail(tag + "does not open: " + std::to_string(e.Number()) + " " +
                        e.Description());
        }
        Comparison c = Compare(base.rows, rows);
        m_totals.rowsBefore += c.before;
        m_totals.rowsKept += c.kept;
        m_totals.altered += c.altered;
        m_totals.invented += c.invented;
        if (c.invented > 0 && std::getenv("KEST_DAMAGE_VERBOSE"))
            std::fprintf(stderr, "invented %s %s%lld rows\n", m_current.c_str(), tag.c_str(),
                         static_cast<long long>(c.invented));
        if (printed.lowerBound && printed.count <= c.lost) {
            ++m_totals.cutShort;
        } else if (printed.count != c.lost) {
            ++m_totals.wrongCounts;
            Fail(tag + "printed " + std::to_string(printed.count) + " rows lost, but " +
                 std::to_string(c.lost) + " were");
        }
        CheckReferenceRows(base, bytes, rows, tag);
        if (measureEngine && printed.count + c.lost > 0) {
            m_totals.pagesKept += c.kept;
            m_totals.pagesBefore += c.before;
            MeasureEngineAlone(base, bytes, password);
        }
    }

    // Every row on a table leaf that the damage left as it was is back.
    void CheckReferenceRows(const Base& base, const std::string& bytes, const Rows& rows,
                            const std::string& tag) {
        for (uint32_t page : base.map.Pages(13)) {
            const std::string& owner = base.map.pages.at(page).owner;
            auto table = base.rows.find(owner);
            if (table == base.rows.end()) continue;
            std::string sound = PageBytes(base.bytes, base.map.pageSize, page);
            if (sound.empty() || PageBytes(bytes, base.map.pageSize, page) != sound) continue;
            for (int64_t rowid : LeafRowids(base.bytes, base.map.pageSize, page)) {
                auto found = rows.find(owner);
                auto expected = table->second.find(rowid);
                if (expected == table->second.end()) continue;
                if (found == rows.end() || !found->second.contains(rowid) ||
                    found->second.at(rowid) != expected->second) {
                    // Damage to the schema's page can take which table a page
                    // belongs to (its root page number): counted, not failed.
                    if (m_schemaHit) {
                        ++m_totals.schemaLost;
                        continue;
                    }
                    // Facts go with the disc (or file) row the damage took.
                    if (Orphaned(owner, expected->second, rows)) continue;
                    return Fail(tag + "row " + std::to_string(rowid) + " of " + owner +
                                " on the intact page " + std::to_string(page) + " is missing");
                }
            }
        }
    }

    // A row of the disc facts whose disc, or a hash whose file, is gone.
    static bool Orphaned(const std::string& owner, const std::string& text, const Rows& rows) {
        const char* parent = owner == "_kest_file_hashes"       ? "tblFiles"
                             : owner.starts_with("_kest_disc_") ? "tblDiscs"
                                                                : nullptr;
        if (!parent) return false;
        auto found = rows.find(parent);
        int64_t id = std::atoll(text.substr(0, text.find('\x1f')).c_str());
        return found == rows.end() || !found->second.contains(id);
    }

    void CheckSearch(engine::Database& db, const std::string& tag, bool salvaged) {
        if (salvaged && !db.SearchIndexComplete()) Fail(tag + "the search index was not rebuilt");
        // What opening the catalog does: an index left half built is completed;
        // one whose damage only its build meets is left, and the search drops it.
        try {
            db.BuildSearchIndex();
        } catch (const KestError&) {
        }
        static const char* kQueries[] = {
            "SELECT FileId FROM tblFiles WHERE FileName LIKE '*repo*' ORDER BY FileId",
            "SELECT FileId FROM tblFiles WHERE FileDir LIKE '*данн*' ORDER BY FileId",
            "SELECT FileId FROM tblFiles WHERE FileDesc LIKE '*kept*pho*' ORDER BY FileId",
            "SELECT FileId FROM tblFiles WHERE FileName LIKE '*straße*' OR FileDir LIKE "
            "'*東京*' ORDER BY FileId",
            "SELECT SubFileId FROM tblSubFiles WHERE SubFileName LIKE '*note*' ORDER BY SubFileId",
            "SELECT SubFileId FROM tblSubFiles WHERE SubFileComm LIKE '*comment*' ORDER BY "
            "SubFileId"};
        for (const char* sql : kQueries) {
            db.UseSearchIndex(true);
            auto indexed = db.Query(sql).rows;
            db.UseSearchIndex(false);
            auto plain = db.Query(sql).rows;
            if (indexed != plain) Fail(tag + "the index finds other rows for " + sql);
        }
        db.UseSearchIndex(true);
    }

    // What the engine's own reading alone would have kept, for the record.
    void MeasureEngineAlone(const Base& base, const std::string& bytes,
                            const std::string& password) {
        std::string damaged = m_dir.File("engine.kst"), target = m_dir.File("engine.salvage");
        for (const auto& p : {damaged, target, damaged + "-wal", target + "-wal"}) fs::remove(p);
        WriteBytes(damaged, bytes);
        engine::SalvageOptions options;
        options.readPages = false;
        options.password = password;
        try {
            engine::SalvageInto(damaged, target, options);
            Comparison c = Compare(base.rows, ReadRows(target, password));
            m_totals.engineKept += c.kept;
            m_totals.engineBefore += c.before;
        } catch (const KestError&) {
            m_totals.engineBefore += Compare(base.rows, {}).before;
        }
    }

    void Print() {
        auto percent = [](int64_t part, int64_t whole) {
            return whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 100.0;
        };
        std::printf("%lld catalogs / %lld finished / %.2f%% rows kept / %lld wrong counts\n",
                    static_cast<long long>(m_totals.catalogs),
                    static_cast<long long>(m_totals.finished / 2),
                    percent(m_totals.rowsKept, m_totals.rowsBefore),
                    static_cast<long long>(m_totals.wrongCounts));
        std::printf(
            "runs %lld (repair and compact), refused %lld, nothing found %lld, lost rows "
            "uncounted (said so) %lld, rows altered %lld, "
            "rows invented %lld; where rows were lost, the engine's reading alone kept %.2f%%, "
            "with the page reader %.2f%%; rows of intact pages lost with the schema %lld; "
            "failures %lld\n",
            static_cast<long long>(m_totals.runs), static_cast<long long>(m_totals.refused),
            static_cast<long long>(m_totals.undetected), static_cast<long long>(m_totals.cutShort),
            static_cast<long long>(m_totals.altered), static_cast<long long>(m_totals.invented),
            percent(m_totals.engineKept, m_totals.engineBefore),
            percent(m_totals.pagesKept, m_totals.pagesBefore),
            static_cast<long long>(m_totals.schemaLost), static_cast<long long>(m_totals.failures));
    }

    bool m_long;
    int64_t m_cases;
    int64_t m_only;
    test::TempDir m_dir;
    std::vector<Base> m_bases;
    Totals m_totals;
    std::string m_current;
    std::atomic<int64_t> m_caseStart{0};
    bool m_schemaHit = false;  // the damage reached the schema's page
};

}  // namespace
}  // namespace kest::damage

int main(int argc, char** argv) {
    bool longRun = std::getenv("KEST_DAMAGE_LONG") != nullptr;
    int64_t cases = 0, only = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--long") == 0) longRun = true;
        if (std::strcmp(argv[i], "--cases") == 0 && i + 1 < argc) cases = std::atoll(argv[++i]);
        if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) only = std::atoll(argv[++i]);
    }
    if (cases == 0) cases = longRun ? 4000 : 520;
    // Memory-backed files: every salvage and compaction flushes its file,
    // which on a disk would be most of the time spent.
    std::error_code ec;
    if (!std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm", ec))
        setenv("TMPDIR", "/dev/shm", 1);
    try {
        return kest::damage::Suite(longRun, cases, only).Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "damage: %s\n", e.what());
        return 1;
    }
}
