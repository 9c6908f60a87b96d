#pragma once

#include <QColor>
#include <QFont>
#include <functional>
#include <optional>

class QWidget;

namespace kest::gui {

// The colour and font pickers of the options dialog: Qt's dialogs, unless a
// test installed answers of its own. nullopt when the user cancelled.
struct OptionsPickers {
    std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)> colour;
    std::function<std::optional<QFont>(QWidget* parent, const QFont& initial)> font;
};

// Installs the pickers; an empty member goes back to Qt's dialog.
void SetOptionsPickers(OptionsPickers pickers);

std::optional<QColor> PickColour(QWidget* parent, const QColor& initial);
// The font dialog titled "Select a font...", offering the installed fonts.
std::optional<QFont> PickFont(QWidget* parent, const QFont& initial);

}  // namespace kest::gui
