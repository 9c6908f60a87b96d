#include "CatalogMaker.h"

#include <fstream>
#include <random>
#include <stdexcept>

#include "SuitePrompter.h"
#include "core/catalog/CatalogCommands.h"
#include "core/catalog/CompactCatalog.h"
#include "core/engine/Database.h"
#include "core/engine/DiscFactsTables.h"
#include "core/engine/SearchIndex.h"
#include "core/scan/ScanDriver.h"
#include "support/archive/ZipBuilder.h"
#include "support/catalog/RecordingHost.h"
#include "support/platform/FakeVolumes.h"
#include "support/scan/RecordingScanView.h"

namespace kest::damage {
namespace {

namespace fs = std::filesystem;

const char* const kWords[] = {"report", "photo",  "backup", "invoice", "notes",   "music",
                              "straße", "résumé", "東京",   "данные",  "project", "draft",
                              "final",  "копия",  "ëxtra",  "video",   "scan",    "letter"};

std::string Word(std::mt19937& random) {
    return kWords[random() % std::size(kWords)];
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder tree of about `files` files, some of them ZIP archives.
void MakeTree(const fs::path& root, int files, std::mt19937& random) {
    for (int i = 0; i < files; ++i) {
        fs::path folder = root;
        for (unsigned depth = random() % 4; depth > 0; --depth)
            folder /= Word(random) + std::to_string(random() % 3);
        std::string name = Word(random) + "_" + std::to_string(i);
        if (random() % 12 == 0) {
            test::ZipLayout zip;
            for (auto k = random() % 6 + 1; k > 0; --k) {
                test::ZipEntryLayout entry;
                entry.name = Word(random) + "/" + Word(random) + std::to_string(k) + ".txt";
                entry.size = random() % 100000;
                entry.packedSize = entry.size / 2;
                if (random() % 3 == 0) entry.comment = "comment " + Word(random);
                zip.entries.push_back(entry);
            }
            WriteFile(folder / (name + ".zip"), test::BuildZip(zip));
        } else {
            WriteFile(folder / (name + ".txt"), std::string(random() % 64, 'x'));
        }
    }
}

void Scan(engine::Database& db, const std::string& catalog, const fs::path& tree,
          const std::string& label, const fs::path& work) {
    test::FakeVolumes volumes;
    std::string root = volumes.Add({tree.string(), platform::DriveType::Optical, label,
                                    "1A2B-" + label.substr(label.size() - 2), "CDFS"});
    test::FakeSound sound;
    test::RecordingScanView view;
    SuitePrompter prompter;
    scan::ScanOptions options;
    options.showNonOpticalWarning = false;
    options.estimateBeforeScan = false;
    options.playSound = false;
    options.saveSubFileContents = true;
    options.saveZip = true;
    scan::ScanDriver driver(
        {catalog, db, volumes, sound, prompter, view, options, (work / "Kest.dat").string()});
    if (!driver.StartScan(root)) throw std::runtime_error("the scan of " + label + " failed");
}

}  // namespace

const char* const* CountedTables() {
    // Not the field order: where its rows are lost the fields read in column
    // order, which is the order they are kept in.
    static const char* const tables[] = {
        "tblDiscs",         "tblFiles",        "tblSubFiles",       "_kest_lock",
        "_kest_disc_facts", "_kest_disc_tags", "_kest_file_hashes", nullptr};
    return tables;
}

void MakeCatalog(const fs::path& path, const fs::path& work, const Variant& variant) {
    std::mt19937 random(variant.seed);
    SuitePrompter prompter;
    fs::remove(path);
    if (!CreateCatalog(path.string(), prompter)) throw std::runtime_error("no catalog");
    {
        auto db = engine::Database::Open(path.string(), "");
        for (int disc = 1; disc <= 3; ++disc) {
            fs::path tree = work / ("tree" + std::to_string(disc));
            fs::remove_all(tree);
            MakeTree(tree, variant.files + static_cast<int>(random() % 100), random);
            Scan(*db, path.string(), tree, "DISC_0" + std::to_string(disc), work);
            fs::remove_all(tree);
        }
        // Descriptions typed for some files, and a disc deleted again, as
        // the disc list deletes one (its pages go to the free list).
        db->Execute("UPDATE tblFiles SET FileDesc = 'kept for ' & FileName WHERE FileId % 5 = 0");
        db->Execute("DELETE * FROM tblSubFiles WHERE KestId = 2");
        db->Execute("DELETE * FROM tblFiles WHERE KestId = 2");
        db->Execute("DELETE * FROM tblDiscs WHERE KestId = 2");
        engine::DeleteDiscFacts(*db, "2");
        if (variant.password) db->SetPassword("", kPassword);
        if (variant.halfIndexed) {
            // A build that a full disk stopped after its first slice.
            engine::DropSearchIndex(db->Handle());
            try {
                engine::BuildSearchIndex(
                    db->Handle(), [](int64_t, int64_t) { throw std::runtime_error("stop"); },
                    variant.files / 2 + 1);
            } catch (const std::runtime_error&) {
            }
        }
    }
    if (variant.compacted) {
        test::RecordingHost host;
        SuitePrompter quiet;
        CompactCatalog(host, quiet, path.string(), variant.password ? kPassword : "");
    }
}

Rows ReadRows(const std::string& path, const std::string& password) {
    Rows rows;
    auto db = engine::Database::Open(path, password);
    for (const char* const* table = CountedTables(); *table; ++table) {
        if (!db->HasTable(*table) &&
            db->Query(std::string("SELECT 1 FROM sqlite_master WHERE name = '") + *table + "'")
                .rows.empty())
            continue;
        auto& byRowid = rows[*table];
        for (const auto& row : db->Query(std::string("SELECT rowid, * FROM ") + *table).rows) {
            std::string text;
            for (size_t c = 1; c < row.size(); ++c) text += engine::ValueText(row[c]) + "\x1f";
            byRowid[std::get<int64_t>(row[0])] = text;
        }
    }
    return rows;
}

}  // namespace kest::damage
