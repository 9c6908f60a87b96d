#include "core/search/DescriptionUpdate.h"

#include "core/common/KestError.h"
#include "core/engine/Database.h"
#include "core/search/SearchText.h"
#include "core/search/SqlText.h"

namespace kest::search {

std::optional<std::string> AskAndStoreDescription(engine::Database& db, Prompter& prompter,
                                                  const DescriptionUpdate& update,
                                                  const std::string& typed) {
    std::string text = OneLineDescription(typed);
    if (prompter.Show(update.title, update.question, Icon::Information, Buttons::YesNo, 2) !=
        Answer::Yes)
        return std::nullopt;
    try {
        db.Execute("UPDATE " + update.table + " SET " + update.field + " = " +
                   SqlQuote(SqlEscape(text)) + " WHERE " + update.idField + " = " +
                   SqlWholeNumber(update.id) + ";");
    } catch (const KestError& e) {
        prompter.ShowError(update.errorTitle, e.Number(), e.Description());
        return std::nullopt;
    }
    prompter.Show(update.title, "The update was successful.", Icon::Information);
    return text;
}

}  // namespace kest::search
