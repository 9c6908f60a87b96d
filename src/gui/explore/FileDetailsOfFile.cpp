#include "gui/explore/FileDetailsOfFile.h"

#include <string>

#include "core/details/FileDetailsLookup.h"
#include "core/details/FileDetailsWindow.h"
#include "gui/details/frmFileDetails.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {

bool ShowFileDetailsOf(QWidget* owner, const ExploreHost& host, int64_t fileId) {
    discs::CatalogViews views = host.catalogViews();
    auto record = details::LookUpFileDetails(views.db, std::to_string(fileId), views.listOptions,
                                             host.session.prompter);
    if (!record) return false;
    details::FileDetailsWindow window(std::move(*record), views);
    frmFileDetails dialog(owner, window, views.db, host.session.prompter, host.listFont,
                          host.discListFont, host.listsChanged);
    RunModal(dialog);
    return true;
}

}  // namespace kest::gui
