#include "gui/app/DriveBox.h"

#include <QComboBox>
#include <QIcon>
#include <array>

#include "gui/widgets/Pictures.h"

namespace kest::gui {
namespace {

// The icon theme's picture of a drive kind (1 floppy, 2 other removable,
// 3 fixed, 4 optical, 5 network), our disc drawing when the theme has none.
QIcon DrivePicture(int iconIndex) {
    static constexpr std::array<const char*, 5> kThemeNames{"media-floppy", "drive-removable-media",
                                                            "drive-harddisk", "drive-optical",
                                                            "network-server"};
    if (iconIndex < 1 || iconIndex > 5) return ToolbarPicture(1);
    return QIcon::fromTheme(QLatin1String(kThemeNames[size_t(iconIndex - 1)]), ToolbarPicture(1));
}

}  // namespace

void FillDriveBox(QComboBox* box, const platform::Volumes& volumes, bool onlyOptical) {
    box->clear();
    for (const platform::Drive& item : platform::DriveBoxItems(volumes, onlyOptical))
        box->addItem(DrivePicture(item.iconIndex), QString::fromStdString(item.text),
                     QString::fromStdString(item.root));
    box->setCurrentIndex(-1);
    box->setEditText(QStringLiteral("Select Drive"));
}

void RefreshDriveBox(QComboBox* box, const platform::Volumes& volumes, bool onlyOptical) {
    QVariant chosen = box->currentIndex() >= 0 ? box->currentData() : QVariant();
    FillDriveBox(box, volumes, onlyOptical);
    int index = chosen.isValid() ? box->findData(chosen) : -1;
    if (index >= 0) box->setCurrentIndex(index);
}

}  // namespace kest::gui
