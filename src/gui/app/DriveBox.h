#pragma once

#include <QIcon>
#include <QString>

#include "platform/Volumes.h"

class QComboBox;

namespace kest::gui {

// The picture of a drive kind (1 floppy, 2 other removable, 3 fixed,
// 4 optical, 5 network): the icon theme's, else our own drawing of it.
QIcon DrivePicture(int iconIndex);

// Fills the drive box with the drives the scan may choose from, each with the
// picture of its kind and its root as the item's data; the box then shows
// "Select Drive" until the user picks one. Gives why the box is empty, for
// the status bar ("" when it offers a drive).
QString FillDriveBox(QComboBox* box, const platform::Volumes& volumes, bool onlyOptical);
// Fills the box again after volumes came or went; the chosen drive stays
// chosen while it is still there.
QString RefreshDriveBox(QComboBox* box, const platform::Volumes& volumes, bool onlyOptical);

}  // namespace kest::gui
