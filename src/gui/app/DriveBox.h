#pragma once

#include "platform/Volumes.h"

class QComboBox;

namespace kest::gui {

// Fills the drive box with the drives the scan may choose from, each with the
// picture of its kind and its root as the item's data; the box then shows
// "Select Drive" until the user picks one.
void FillDriveBox(QComboBox* box, const platform::Volumes& volumes, bool onlyOptical);

}  // namespace kest::gui
