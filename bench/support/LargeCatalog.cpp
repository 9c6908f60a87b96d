#include "LargeCatalog.h"

#include <cstdio>
#include <cstdlib>

#include "core/engine/Database.h"

namespace kest::bench {

void BuildLargeCatalog(const std::string& path, int64_t files) {
    std::string create = std::string(KEST_CLI_PATH) + " create '" + path + "' >/dev/null 2>&1";
    if (std::system(create.c_str()) != 0)
        std::fprintf(stderr, "could not create %s\n", path.c_str());
    auto db = kest::engine::Database::Open(path, "");
    db->Begin();
    constexpr int64_t kDiscs = 200;
    auto disc = db->Prepare(
        "INSERT INTO tblDiscs (DiscSer, DiscFSys, DiscLbl, DiscDesc, DiscNumF) "
        "VALUES ('ABCD-0000', 'CDFS', ?, 'bench', ?)");
    for (int64_t d = 0; d < kDiscs; ++d) {
        disc.Bind(1, "DISC_" + std::to_string(d));
        disc.Bind(2, files / kDiscs);
        disc.Run();
        disc.Reset();
    }
    auto file = db->Prepare(
        "INSERT INTO tblFiles (KestId, FileDir, FileName, FileAtt, FileSize, FileDate) "
        "VALUES (?, ?, ?, 'A', ?, ?)");
    for (int64_t i = 0; i < files; ++i) {
        file.Bind(1, i / (files / kDiscs) + 1);
        file.Bind(2, "dir" + std::to_string(i % 997) + "/");
        file.Bind(3, "file" + std::to_string(i) + (i % 50 == 0 ? ".zip" : ".dat"));
        file.Bind(4, (i * 7919) % 100000000);
        char date[32];
        std::snprintf(date, sizeof date, "20%02d-%02d-%02d 12:%02d:00", static_cast<int>(i % 25),
                      static_cast<int>(i % 12 + 1), static_cast<int>(i % 28 + 1),
                      static_cast<int>(i % 60));
        file.Bind(5, std::string(date));
        file.Run();
        file.Reset();
    }
    db->Commit();
}

}  // namespace kest::bench
