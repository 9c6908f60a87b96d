#pragma once

#include "core/update/BuildInfo.h"
#include "support/ScriptedPrompter.h"

namespace kest::test {

// The update window's message for a check that could not reach the release.
inline void ExpectCheckFailed(ScriptedPrompter& prompter) {
    prompter.ExpectNotice("Error in update",
                          std::string("The update check failed. You must check for the\r\n"
                                      "new version of this application manually at\r\n") +
                              update::HomePage() + ".",
                          Icon::Critical);
}

}  // namespace kest::test
