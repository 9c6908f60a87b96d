// kest-cli file-details FILEID and describe-file --text TEXT FILEID...: the
// file details window's fields and its description updates.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/catalog/CliSession.h"
#include "cli/details/CliViews.h"
#include "core/details/FileDetailsWindow.h"
#include "core/details/MultipleDescriptionUpdate.h"
#include "core/search/ResultsGrid.h"

namespace kest::cli {
namespace {

int RunFileDetails(CliContext& context, const std::string& fileId) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    CliViews cli(session);
    auto record =
        details::LookUpFileDetails(cli.views.db, fileId, cli.views.listOptions, context.prompter);
    if (!record) return 1;
    details::FileDetailsWindow window(std::move(*record), cli.views);
    const details::CurrentFile& file = window.File();
    std::cout << "KestID\t" << window.Disc().kestId << "\nFileID\t" << file.fileId
              << "\nDirectory\t" << file.dir << "\nName\t" << file.name << "\nAttributes\t"
              << file.attributes << "\n"
              << window.SizeLabel() << "\t" << window.SizeText() << "\nDate\t" << window.DateText()
              << "\nDescription\t" << window.description << std::endl;
    return 0;
}

// The given files as rows of a results list, so the multiple update reads
// them as it reads a selection.
ListTable SelectedRows(const std::vector<std::string>& fileIds) {
    ListTable rows;
    rows.Reset({{"Kest ID ", 0}, {"FileId", search::kFileIdTag}});
    for (const std::string& id : fileIds) {
        rows.AddCell("");
        rows.AddCell(id);
    }
    return rows;
}

int RunDescribeFile(CliContext& context, const std::string& text,
                    const std::vector<std::string>& fileIds) {
    CliSession session(context);
    if (!session.OpenCatalog()) return 1;
    CliViews cli(session);
    if (fileIds.size() == 1) {
        auto record = details::LookUpFileDetails(cli.views.db, fileIds.front(),
                                                 cli.views.listOptions, context.prompter);
        if (!record) return 1;
        details::FileDetailsWindow window(std::move(*record), cli.views);
        window.description = text;
        return window.UpdateDescription(context.prompter) ? 0 : 1;
    }
    cli.panel.results = SelectedRows(fileIds);
    context.prompter.inputs.push_front(text);
    auto outcome = details::MultipleFileDescriptionUpdate(
        cli.views, search::GridSelection{1, fileIds.size()}, context.prompter);
    return outcome == details::MultipleUpdateOutcome::Updated ? 0 : 1;
}

CommandRun SetupFileDetails(CLI::App& app, CliContext& context) {
    auto fileId = std::make_shared<std::string>();
    CLI::App* sub = app.add_subcommand("file-details", "Show the details of a file");
    sub->add_option("FILEID", *fileId, "The file's FileId")->required();
    return [&context, fileId] { return RunFileDetails(context, *fileId); };
}

CommandRun SetupDescribeFile(CLI::App& app, CliContext& context) {
    struct Arguments {
        std::string text;
        std::vector<std::string> fileIds;
    };
    auto args = std::make_shared<Arguments>();
    CLI::App* sub = app.add_subcommand("describe-file",
                                       "Change the description of one file, or of several at once");
    sub->add_option("--text", args->text, "The new description")->required();
    sub->add_option("FILEID", args->fileIds, "The files' FileIds")->required();
    return [&context, args] { return RunDescribeFile(context, args->text, args->fileIds); };
}

const CommandRegistrar kFileDetails("file-details", &SetupFileDetails);
const CommandRegistrar kDescribeFile("describe-file", &SetupDescribeFile);

}  // namespace
}  // namespace kest::cli
