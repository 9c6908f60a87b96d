#pragma once

#include <cstdint>
#include <vector>

#include "core/discs/CatalogViews.h"
#include "core/search/ListSelection.h"
#include "core/ui/Prompter.h"

namespace kest::details {

// The FileIds of the selected result rows (grid rows, in either direction),
// each file once however many of its subfile rows are selected.
std::vector<int64_t> SelectedFileIds(const ListTable& results, search::GridSelection selection);

enum class MultipleUpdateOutcome { NotOffered, Cancelled, Declined, Updated, Failed };

// "Multiple File Description Update...": for a selection of more than one
// result row, asks for the text and a confirmation, stores it in every
// selected file and, with RefResultsImm and the description column shown,
// runs the results again.
MultipleUpdateOutcome MultipleFileDescriptionUpdate(discs::CatalogViews& views,
                                                    search::GridSelection selection,
                                                    Prompter& prompter);

}  // namespace kest::details
