// The owner-thread rule of a catalog connection, checked in debug and
// sanitizer builds only.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "core/engine/Database.h"
#include "support/TempDir.h"
#include "support/catalog/CatalogFixture.h"

namespace kest::engine {
namespace {

#if defined(KEST_THREAD_CHECKS) || !defined(NDEBUG)

TEST(DatabaseOwner, OnlyTheThreadItWasHandedToMayUseIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempDir dir;
    auto db = Database::Open(test::MakeCatalogFile(dir), "");
    auto useFromAnotherThread = [&] { std::thread([&] { db->Execute("SELECT 1"); }).join(); };
    EXPECT_DEATH(useFromAnotherThread(), "used by a thread that does not own it");

    const std::thread::id main = std::this_thread::get_id();
    std::promise<void> handed;
    std::thread writer([&, ready = handed.get_future()] {
        ready.wait();
        db->Execute("INSERT INTO tblDiscs (DiscSer) VALUES ('1')");
        db->HandTo(main);
    });
    db->HandTo(writer.get_id());
    handed.set_value();
    writer.join();
    EXPECT_EQ(db->Query("SELECT DiscSer FROM tblDiscs").rows.size(), 1u);
    EXPECT_DEATH(useFromAnotherThread(), "does not own it");
}

#endif

}  // namespace
}  // namespace kest::engine
