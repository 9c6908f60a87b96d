#include "cli/catalog/CliSession.h"

namespace kest::cli {

CliSession::CliSession(CliContext& ctx) : Session(ctx.home, ctx.prompter), context(ctx) {}

bool CliSession::OpenCatalog() {
    return Session::OpenCatalog(context.catalog);
}

}  // namespace kest::cli
