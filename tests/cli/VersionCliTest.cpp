// kest-cli --version names the release the about window shows.
#include <gmock/gmock.h>

#include "core/update/BuildInfo.h"
#include "core/update/UpdateFiles.h"
#include "support/RunCli.h"

namespace kest::test {
namespace {

TEST(VersionCli, PrintsTheProgramRelease) {
    CliResult result = RunCli("--version");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "kest-cli " + update::ReleaseText(update::ProgramRelease()) + "\n");
}

}  // namespace
}  // namespace kest::test
