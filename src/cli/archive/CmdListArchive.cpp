// kest-cli list-archive FILE [--type TYPE] [--rows]: the entries a
// scan would find in an archive, as the reader reports them or as the
// subfile rows it would store.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

#include "cli/CliContext.h"
#include "core/archive/ArchiveKinds.h"
#include "core/archive/SubFileRow.h"
#include "core/archive/SubFileTexts.h"
#include "core/archive/cArchive.h"

namespace kest::cli {

namespace {

// Outside a scan nothing cancels a listing; error lines go to stderr.
class CliArchiveHost : public archive::ArchiveHost {
  public:
    bool CancelRequested() const override { return false; }
    void WriteLog(const std::string& line) override { std::cerr << line << '\n'; }
};

std::string Hex8(uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

void PrintEntry(const archive::FileFound& e) {
    std::cout << e.EntryIndex << '\t' << e.EntryCount << '\t' << e.FileName << '\t' << e.ArchiveType
              << '\t' << text::ToIso(e.FileDate) << '\t' << e.FileSize << '\t' << e.PackedSize
              << '\t' << e.Method << '\t' << e.Attributes << '\t' << e.Directory << '\t' << e.Flags
              << '\t' << Hex8(e.Crc) << '\t' << e.Comment << '\n';
}

void PrintRow(const archive::FileFound& e) {
    auto row = archive::SubFileRowFor(e);
    if (!row) return;
    std::cout << row->SubFileDir << '\t' << row->SubFileName << '\t' << row->SubFileAtt << '\t'
              << row->SubFileCRC << '\t' << row->SubFileSize << '\t' << row->SubFileCSize << '\t'
              << archive::RatioText(row->SubFileRatio) << '\t' << text::ToIso(row->SubFileDate)
              << '\t' << row->SubFileComm << '\t' << row->SubFileMeth << '\t' << row->SubFileSMeth
              << '\t' << (row->SubFileEncr ? "True" : "False") << '\t' << row->SubFileFlags << '\n';
}

CommandRun SetupListArchive(CLI::App& app, CliContext& context) {
    struct Options {
        std::string file;
        std::string type;
        bool rows = false;
    };
    auto options = std::make_shared<Options>();
    CLI::App* cmd = app.add_subcommand(
        "list-archive", "List the entries of a ZIP, CAB, RAR, ACE, 7z, TAR or ISO file");
    cmd->add_option("FILE", options->file, "The archive")->required();
    cmd->add_option("--type", options->type, "Archive type (default: the file's extension)")
        ->check(CLI::IsMember(
            {"zip", "cab", "rar", "ace", "7z", "iso", "tar", "tgz", "tbz", "txz", "tzst"}));
    cmd->add_flag("--rows", options->rows, "Print the subfile rows a scan would store");
    return [options, &context] {
        CliArchiveHost host;
        archive::cArchive reader(context.prompter, host);
        reader.SetArchivePath(options->file);
        reader.SetArchiveType(options->type.empty() ? archive::ArchiveTypeOf(options->file)
                                                    : options->type);
        reader.OnFileFound(options->rows ? &PrintRow : &PrintEntry);
        reader.GetInfo();
        std::cout.flush();
        return 0;
    };
}

const CommandRegistrar kListArchive("list-archive", &SetupListArchive);

}  // namespace

}  // namespace kest::cli
