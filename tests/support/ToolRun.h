#pragma once

#include <string>

#include "support/TempDir.h"

namespace kest::test {

// Whether every one of the tools (a list split by spaces) is installed; sbin
// is searched too, which a normal user's PATH may lack.
bool ToolsInstalled(const std::string& tools);

// Runs shell commands in dir, with a fixed clock for the tools that stamp
// times (SOURCE_DATE_EPOCH); output is dropped. Whether they all succeeded.
bool RunIn(const TempDir& dir, const std::string& commands);

}  // namespace kest::test
