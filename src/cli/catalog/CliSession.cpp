#include "cli/catalog/CliSession.h"

namespace kest::cli {

CliSession::CliSession(CliContext& ctx)
    : Session(AppPaths::ForRun(ctx.home), ctx.prompter), context(ctx) {
    LoadSettings();
}

bool CliSession::OpenCatalog() {
    return Session::OpenCatalog(context.catalog);
}

}  // namespace kest::cli
