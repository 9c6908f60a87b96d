#pragma once

#include <cstdint>
#include <string>

#include "cli/CliContext.h"
#include "core/app/Session.h"

namespace kest::cli {

using app::AbsolutePath;

// The shared session over the global options: --home's settings, with
// --catalog (or else the start-up catalog) as the catalog to open.
class CliSession : public app::Session {
  public:
    // Loads the settings of --home; a conversion error raises KestError.
    explicit CliSession(CliContext& context);

    // Opens --catalog, or else the start-up catalog of the settings, through
    // the catalog check. On failure shows the open warning and returns false.
    bool OpenCatalog();

    void ShowIndexProgress(int64_t done, int64_t total) override;

    CliContext& context;
};

}  // namespace kest::cli
