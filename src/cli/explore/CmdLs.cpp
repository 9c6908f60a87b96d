// kest-cli ls KESTID DIR [--long]: one folder of a disc (an archive file's
// path lists its entries): its subfolders, then its files.
#include <CLI/CLI.hpp>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/explore/CliTree.h"
#include "core/explore/ExploreTexts.h"
#include "core/explore/FileReader.h"

namespace kest::cli {
namespace {

struct LsArguments {
    int32_t kestId = 0;
    std::string folder;
    bool longForm = false;
};

void PrintFolder(const explore::FolderItem& folder, bool longForm) {
    const std::string name = explore::ShownName(folder.name);
    if (!longForm) {
        std::printf("%s/\n", name.c_str());
        return;
    }
    std::printf("%-6s %15" PRId64 " %-19s %s/ (%s)\n", "<DIR>", folder.bytes, "", name.c_str(),
                explore::CountText(folder.files, "file").c_str());
}

void PrintFile(const explore::FileItem& file, bool longForm) {
    const std::string name = explore::ShownName(file.name);
    if (!longForm) {
        std::printf("%s\n", name.c_str());
        return;
    }
    std::printf("%-6s %15" PRId64 " %-19s %s",
                file.attributes.empty() ? "-" : file.attributes.c_str(), file.size,
                file.date.c_str(), name.c_str());
    if (file.archive) std::printf("  [archive]");
    if (file.entry)
        std::printf("  packed %" PRId64 ", ratio %s%%, CRC %s, %s%s", file.packed,
                    file.ratio.c_str(), file.crc.c_str(), file.method.c_str(),
                    file.encrypted ? ", encrypted" : "");
    std::printf("\n");
}

int RunLs(CliContext& context, const LsArguments& args) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    auto opened = OpenPlace(session, args.kestId, args.folder);
    if (!opened) return 1;
    for (const auto& folder : opened->tree->Subfolders(opened->place))
        PrintFolder(folder, args.longForm);
    auto reader = opened->tree->Files(session.current.Db(), opened->place, {});
    std::vector<explore::FileItem> files;
    while (reader->Next(files, 1000)) {
        for (const auto& file : files) PrintFile(file, args.longForm);
        files.clear();
    }
    return 0;
}

CommandRun SetupLs(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<LsArguments>();
    CLI::App* sub = app.add_subcommand("ls", "List one folder of a disc, or an archive's entries");
    sub->add_option("KESTID", args->kestId, "The disc's Kest ID")->required();
    sub->add_option("DIR", args->folder,
                    "The folder (\"\" or / for the root; a/b.zip/c inside an archive)")
        ->required();
    sub->add_flag("-l,--long", args->longForm,
                  "Attributes, size, date and name (folders: the bytes and files below them)");
    return [&context, args] { return RunLs(context, *args); };
}

const CommandRegistrar kLs("ls", &SetupLs);

}  // namespace
}  // namespace kest::cli
