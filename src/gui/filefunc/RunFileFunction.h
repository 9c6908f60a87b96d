#pragma once

#include <optional>

#include "core/app/Session.h"
#include "core/filefunc/FileFunction.h"
#include "platform/Volumes.h"

class QWidget;

namespace kest::gui {

// Open File, Open Folder or Explore Folder (filefunc::kOpenFile...) for a
// file looked up in the catalog (nothing when the lookup found none): the
// file function dialog over the drives; the default drive it sets is kept in
// the settings.
void RunFileFunction(QWidget* owner, app::Session& session, const platform::Volumes& volumes,
                     std::optional<filefunc::FileTarget> target, int function);

}  // namespace kest::gui
