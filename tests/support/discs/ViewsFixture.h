#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/discs/CatalogViews.h"
#include "core/engine/Database.h"
#include "support/ScriptedPrompter.h"
#include "support/catalog/CatalogFixture.h"
#include "support/search/SearchFixture.h"

namespace kest::test {

// The list catalog of SearchFixture opened with the main window's disc list
// and results list beside it, as the disc and file commands see them.
class ViewsFixture : public ::testing::Test {
  protected:
    ViewsFixture()
        : db(MakeSearchCatalog(dir)), views{*db, list, {}, "kest001.kst", "", panel, {}} {
        views.catalogPath = dir.File("kest001.kst");
        views.searchOptions.showCol[11] = 1;  // the description column
        discs::ReloadDiscList(*db, list, views.listOptions, views.catalogName, views.catalogPath,
                              prompter);
    }

    // Every row of a query as QueryText gives it.
    std::string Rows(const std::string& sql) { return QueryText(*db, sql); }
    int64_t Count(const std::string& table) {
        return std::stoll(Rows("SELECT COUNT(*) FROM " + table));
    }

    TempDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<engine::Database> db;
    discs::DiscList list;
    search::SearchPanel panel;
    discs::CatalogViews views;
};

}  // namespace kest::test
