#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "core/common/Errors.h"

namespace kest {
namespace {

TEST(ToKestError, KeepsKestErrorsAndNamesEveryOtherFailure) {
    struct Case {
        std::exception_ptr thrown;
        long number;
        std::string description;
    };
    const Case cases[] = {
        {std::make_exception_ptr(err::ReadOnly()), err::kReadOnly,
         "Can't update.  Database or object is read-only."},
        {std::make_exception_ptr(std::bad_alloc()), 7, "Out of memory"},
        {std::make_exception_ptr(std::runtime_error("thread failed")), 51, "thread failed"},
    };
    for (const Case& c : cases) {
        try {
            std::rethrow_exception(c.thrown);
        } catch (const std::exception& e) {
            KestError error = err::ToKestError(e);
            EXPECT_EQ(error.Number(), c.number);
            EXPECT_EQ(error.Description(), c.description);
        }
    }
}

TEST(ErrorFactories, PathFileAccessNamesTheSystemsReasonWhenGiven) {
    EXPECT_EQ(err::PathFileAccess().Description(), "Path/File access error");
    EXPECT_EQ(err::PathFileAccess("Is a directory").Description(),
              "Path/File access error (Is a directory)");
}

}  // namespace
}  // namespace kest
