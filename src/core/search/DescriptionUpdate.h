#pragma once

#include <optional>
#include <string>

#include "core/ui/Prompter.h"

namespace kest::engine {
class Database;
}

namespace kest::search {

// One description change of a details window: where the text goes and the
// texts of its question and error box.
struct DescriptionUpdate {
    std::string title;  // of the question and of the success message
    std::string question;
    std::string errorTitle;
    std::string table, field, idField;
    std::string id;  // checked to be a whole number before it stands in the statement
};

// Asks, stores the typed text with every line break as one space and reports
// success; an error is shown under errorTitle. Gives the stored text, or
// nullopt when declined or refused.
std::optional<std::string> AskAndStoreDescription(engine::Database& db, Prompter& prompter,
                                                  const DescriptionUpdate& update,
                                                  const std::string& typed);

}  // namespace kest::search
