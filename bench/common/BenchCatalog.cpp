#include "BenchCatalog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/engine/Database.h"

namespace kest::bench {

std::string BenchDirName(int64_t i) {
    return "dir" + std::to_string(i / 100 % 997) + "/";
}

std::string BenchFileName(int64_t i) {
    return "file" + std::to_string(i) + (i % 50 == 0 ? ".zip" : ".dat");
}

void BuildCatalog(const std::string& path, const CatalogShape& shape) {
    // The catalog is made by the program itself, then filled directly.
    std::string create = std::string(KEST_CLI_PATH) + " create '" + path + "' >/dev/null 2>&1";
    if (std::system(create.c_str()) != 0)
        std::fprintf(stderr, "could not create %s\n", path.c_str());
    auto db = engine::Database::Open(path, "");
    db->DeferSearchIndex();
    db->Begin();
    const int64_t perDisc = shape.files / shape.discs;
    auto disc = db->Prepare(
        "INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF) "
        "VALUES ('ABCD-0000', 'CDFS', ?, 'bench', ?)");
    for (int64_t d = 0; d < shape.discs; ++d) {
        disc.Bind(1, "DISC_" + std::to_string(d));
        disc.Bind(2, perDisc);
        disc.Run();
        disc.Reset();
    }
    auto file = db->Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) "
        "VALUES (?, ?, ?, 'A', ?, ?)");
    auto entry = db->Prepare(
        "INSERT INTO tblSubFiles (KestId, FileId, SubFileDir, SubFileName, SubFileSize, "
        "SubFileCSize, SubFileDate, SubFileEncr) VALUES (?, ?, 'inner/', ?, 100, 50, "
        "'2001-02-03 04:05:06', 0)");
    for (int64_t i = 0; i < shape.files; ++i) {
        const int64_t kestId = i / perDisc + 1;
        const bool archive = i % 50 == 0;
        file.Bind(1, kestId);
        file.Bind(2, BenchDirName(i));
        const int64_t named = shape.namesRepeatEvery > 0 ? i % shape.namesRepeatEvery : i;
        file.Bind(3, BenchFileName(named));
        file.Bind(4, (named * 7919) % 100000000 + (shape.namesRepeatEvery > 0 && i % 7 == 0));
        char date[32];
        std::snprintf(date, sizeof date, "20%02d-%02d-%02d 12:%02d:00", static_cast<int>(i % 25),
                      static_cast<int>(i % 12 + 1), static_cast<int>(i % 28 + 1),
                      static_cast<int>(i % 60));
        file.Bind(5, std::string(date));
        file.Run();
        file.Reset();
        if (!archive) continue;
        const int64_t fileId = db->LastInsertId();
        for (int64_t e = 0; e < shape.entriesPerArchive; ++e) {
            entry.Bind(1, kestId);
            entry.Bind(2, fileId);
            entry.Bind(3, "entry" + std::to_string(e) + ".txt");
            entry.Run();
            entry.Reset();
        }
    }
    db->Commit();
    db->EndSearchIndexDeferral();
}

std::filesystem::path BenchHome(int argc, char** argv, const std::string& name) {
    namespace fs = std::filesystem;
    fs::path home = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / name;
    fs::create_directories(home);
    return home;
}

SizedCatalog SizedBenchCatalog(int argc, char** argv, const std::string& name) {
    namespace fs = std::filesystem;
    SizedCatalog sized;
    sized.home = fs::temp_directory_path() / name;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--files") == 0 && i + 1 < argc)
            sized.files = std::atoll(argv[++i]);
        else
            sized.home = argv[i];
    }
    sized.home /= std::to_string(sized.files);
    fs::create_directories(sized.home);
    sized.catalog = sized.home / "kest001.kst";
    if (!fs::exists(sized.catalog)) {
        std::printf("building %lld files in %s\n", static_cast<long long>(sized.files),
                    sized.catalog.c_str());
        BuildCatalog(sized.catalog.string(), {sized.files, 200, 0});
    }
    return sized;
}

}  // namespace kest::bench
