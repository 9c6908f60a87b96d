// The mount table watch reports a file system mounted and unmounted.
#include <sys/mount.h>

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "gui/app/MountWatch.h"
#include "support/TempDir.h"

namespace kest::test {
namespace {

TEST(MountWatch, ReportsAMountAndAnUnmount) {
    gui::MountWatch watch(nullptr);
    QSignalSpy changes(&watch, &gui::MountWatch::Changed);
    TempDir point;
    if (mount("tmpfs", point.Path().c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    EXPECT_TRUE(changes.wait(2000));
    int afterMount = int(changes.count());
    umount2(point.Path().c_str(), MNT_DETACH);
    EXPECT_TRUE(changes.wait(2000));
    EXPECT_GT(changes.count(), afterMount);
}

TEST(MountWatch, AMissingTableReportsNothing) {
    gui::MountWatch watch(nullptr, "/nonexistent/mounts");
    QSignalSpy changes(&watch, &gui::MountWatch::Changed);
    EXPECT_FALSE(changes.wait(100));
}

}  // namespace
}  // namespace kest::test
