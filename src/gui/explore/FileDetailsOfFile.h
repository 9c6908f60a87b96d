#pragma once

#include <QWidget>
#include <cstdint>

#include "gui/explore/ExploreHost.h"

namespace kest::gui {

// File Details of a catalogued file known by its FileId, from any window that
// lists files of the catalog (an archive's entry shows its archive's row).
// Returns whether the details were shown.
bool ShowFileDetailsOf(QWidget* owner, const ExploreHost& host, int64_t fileId);

}  // namespace kest::gui
