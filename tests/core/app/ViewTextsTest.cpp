#include <gtest/gtest.h>

#include "core/app/ViewTexts.h"

namespace kest::app {
namespace {

TEST(ViewTexts, SearchHintNamesTheFieldsSearchedIn) {
    struct Case {
        bool name, directory, description;
        const char* ending;
    };
    const Case cases[] = {
        {true, false, false, "file name."},
        {false, true, false, "file directory."},
        {false, false, true, "file description."},
        {true, true, false, "file name or file directory."},
        {true, true, true, "file name or file directory or file description."},
        {false, false, false, "."},
    };
    for (const Case& c : cases) {
        AppSettings settings;
        settings.InFileName = c.name;
        settings.InDirectory = c.directory;
        settings.InFileDescription = c.description;
        EXPECT_EQ(
            SearchHint(settings),
            std::string("Use the standard windows search parameters to search for a ") + c.ending);
    }
}

TEST(ViewTexts, TheActiveViewsButtonIsBracketed) {
    EXPECT_EQ(ViewButtonCaption(1, View::Discs), "[Discs]");
    EXPECT_EQ(ViewButtonCaption(2, View::Discs), "Search");
    EXPECT_EQ(ViewButtonCaption(1, View::Search), "Discs");
    EXPECT_EQ(ViewButtonCaption(2, View::Search), "[Search]");
}

}  // namespace
}  // namespace kest::app
