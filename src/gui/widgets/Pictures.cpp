#include "gui/widgets/Pictures.h"

#include <array>

namespace kest::gui {

QIcon ProgramIcon() {
    return QIcon(QStringLiteral(":/kest.svg"));
}

QIcon ToolbarPicture(int index) {
    struct Picture {
        const char* theme;
        const char* bundled;
    };
    static constexpr std::array<Picture, 5> kPictures{{
        {"media-optical", ":/toolbar/discs.svg"},
        {"system-search", ":/toolbar/search.svg"},
        {"preferences-system", ":/toolbar/options.svg"},
        {"help-contents", ":/toolbar/help.svg"},
        {"application-exit", ":/toolbar/exit.svg"},
    }};
    const Picture& picture = kPictures.at(static_cast<size_t>(index - 1));
    return QIcon::fromTheme(QLatin1String(picture.theme), QIcon(QLatin1String(picture.bundled)));
}

}  // namespace kest::gui
