#pragma once

#include <QRect>

#include "core/settings/WindowState.h"

class QWidget;

namespace kest::gui {

// The design size of the main window (twips), from which the settings load
// computes a first run's centred place: wide enough for the disc list's
// columns at their default widths.
inline constexpr int kDesignWidth = 11400;
inline constexpr int kDesignHeight = 6600;

// A window state with the screen (the whole desktop) and design sizes filled
// in, ready for the settings load.
WindowState PreparedWindowState();

// A rectangle moved (and if need be shrunk) onto the screen it overlaps most,
// or onto the primary screen when it is off every screen.
QRect OntoAScreen(const QRect& rect);

// Places the window as the settings say, in twips: Left and Top are the
// outer corner (as QWidget::move takes it), Width and Height the inner size;
// moved back onto a screen; maximised when it was.
void ApplyWindowPlace(QWidget* window, const WindowState& state);

// Records the live place: Left/Top/Width/Height only while the window is in
// its normal state, the maximised flag always.
void CollectWindowPlace(const QWidget* window, WindowState& state);

}  // namespace kest::gui
