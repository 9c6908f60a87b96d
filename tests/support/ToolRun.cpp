#include "support/ToolRun.h"

#include <cstdlib>

namespace kest::test {

namespace {

const std::string kPath = "PATH=\"$PATH:/usr/sbin:/sbin\"";

}  // namespace

bool ToolsInstalled(const std::string& tools) {
    std::string script =
        "export " + kPath + "; for t in " + tools + "; do command -v $t >/dev/null || exit 1; done";
    return std::system(script.c_str()) == 0;
}

bool RunIn(const TempDir& dir, const std::string& commands) {
    std::string script = "cd '" + dir.Path().string() + "' && export " + kPath +
                         " SOURCE_DATE_EPOCH=1700000000 && (" + commands + ") >/dev/null 2>&1";
    return std::system(script.c_str()) == 0;
}

}  // namespace kest::test
