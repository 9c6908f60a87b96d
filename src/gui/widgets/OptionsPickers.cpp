#include "gui/widgets/OptionsPickers.h"

#include <QColorDialog>
#include <QFontDialog>

namespace kest::gui {
namespace {

OptionsPickers& Installed() {
    static OptionsPickers pickers;
    return pickers;
}

}  // namespace

void SetOptionsPickers(OptionsPickers pickers) {
    Installed() = std::move(pickers);
}

std::optional<QColor> PickColour(QWidget* parent, const QColor& initial) {
    if (Installed().colour) return Installed().colour(parent, initial);
    QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

std::optional<QFont> PickFont(QWidget* parent, const QFont& initial) {
    if (Installed().font) return Installed().font(parent, initial);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, initial, parent, QStringLiteral("Select a font..."));
    if (!ok) return std::nullopt;
    return chosen;
}

}  // namespace kest::gui
