// kest-cli tree KESTID [DIR] [--depth N] [--sizes]: a disc's folders drawn as
// a tree, each with the number of files below it (and their size).
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/explore/CliTree.h"
#include "core/catalog/FormatFileSize.h"
#include "core/explore/ExploreTexts.h"

namespace kest::cli {
namespace {

struct TreeArguments {
    int32_t kestId = 0;
    std::string folder;
    int depth = -1;  // no limit
    bool sizes = false;
};

class TreeDrawing {
  public:
    TreeDrawing(explore::DiscTree& tree, engine::Database& db, const TreeArguments& args)
        : m_tree(tree), m_db(db), m_args(args) {}

    void Draw(const explore::Place& place) {
        std::string top = explore::FolderPathText(place.path);
        Line(top.empty() ? "<root>" : top, m_tree.Facts(place));
        Below(place, "", 1);
    }

  private:
    void Line(const std::string& name, const explore::FolderItem& facts) {
        std::string line =
            explore::ShownName(name) + " (" + explore::CountText(facts.files, "file");
        if (m_args.sizes) line += ", " + SizeText(static_cast<uint64_t>(facts.bytes));
        std::fputs((line + ")\n").c_str(), stdout);
    }

    void Below(const explore::Place& place, const std::string& prefix, int level) {
        if (m_args.depth >= 0 && level > m_args.depth) return;
        const auto folders = m_tree.Subfolders(place);
        for (size_t i = 0; i < folders.size(); ++i) {
            const bool last = i + 1 == folders.size();
            std::fputs((prefix + (last ? "└── " : "├── ")).c_str(), stdout);
            Line(folders[i].name + "/", folders[i]);
            explore::FolderPath path = place.path;
            path.push_back(folders[i].name);
            if (auto child = m_tree.Find(m_db, path))
                Below(*child, prefix + (last ? "    " : "│   "), level + 1);
        }
    }

    explore::DiscTree& m_tree;
    engine::Database& m_db;
    const TreeArguments& m_args;
};

int RunTree(CliContext& context, const TreeArguments& args) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    auto opened = OpenPlace(session, args.kestId, args.folder);
    if (!opened) return 1;
    std::printf("%s\n", explore::DiscCaption(opened->tree->Disc()).c_str());
    TreeDrawing(*opened->tree, session.current.Db(), args).Draw(opened->place);
    const auto facts = opened->tree->Facts(opened->place);
    std::printf("\n%s, %s\n", explore::CountText(facts.folders, "folder").c_str(),
                explore::CountText(facts.files, "file").c_str());
    return 0;
}

CommandRun SetupTree(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<TreeArguments>();
    CLI::App* sub = app.add_subcommand("tree", "Draw a disc's folders as a tree");
    sub->add_option("KESTID", args->kestId, "The disc's Kest ID")->required();
    sub->add_option("DIR", args->folder, "The folder to start at (default: the disc's root)");
    sub->add_option("--depth", args->depth, "Draw at most this many levels below it")
        ->check(CLI::NonNegativeNumber);
    sub->add_flag("--sizes", args->sizes, "Show the size of the files below each folder");
    return [&context, args] { return RunTree(context, *args); };
}

const CommandRegistrar kTree("tree", &SetupTree);

}  // namespace
}  // namespace kest::cli
