#include "gui/app/DriveBox.h"

#include <QComboBox>
#include <array>

#include "gui/widgets/Pictures.h"

namespace kest::gui {

QIcon DrivePicture(int iconIndex) {
    struct Picture {
        const char* theme;
        const char* bundled;
    };
    static constexpr std::array<Picture, 5> kPictures{{
        {"media-floppy", ":/drives/floppy.svg"},
        {"drive-removable-media", ":/drives/removable.svg"},
        {"drive-harddisk", ":/drives/fixed.svg"},
        {"drive-optical", ":/drives/optical.svg"},
        {"network-server", ":/drives/network.svg"},
    }};
    if (iconIndex < 1 || iconIndex > 5) return ToolbarPicture(1);
    const Picture& picture = kPictures[size_t(iconIndex - 1)];
    return QIcon::fromTheme(QLatin1String(picture.theme), QIcon(QLatin1String(picture.bundled)));
}

QString FillDriveBox(QComboBox* box, const platform::Volumes& volumes, bool onlyOptical) {
    box->clear();
    std::vector<platform::Drive> items = platform::DriveBoxItems(volumes, onlyOptical);
    for (const platform::Drive& item : items)
        box->addItem(DrivePicture(item.iconIndex), QString::fromStdString(item.text),
                     QString::fromStdString(item.root));
    box->setCurrentIndex(-1);
    box->setEditText(QStringLiteral("Select Drive"));
    return QString::fromStdString(platform::EmptyDriveBoxNote(items.size(), onlyOptical));
}

QString RefreshDriveBox(QComboBox* box, const platform::Volumes& volumes, bool onlyOptical) {
    QVariant chosen = box->currentIndex() >= 0 ? box->currentData() : QVariant();
    QString note = FillDriveBox(box, volumes, onlyOptical);
    int index = chosen.isValid() ? box->findData(chosen) : -1;
    if (index >= 0) box->setCurrentIndex(index);
    return note;
}

}  // namespace kest::gui
