#include "gui/app/WindowPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "gui/widgets/Twips.h"

namespace kest::gui {

WindowState PreparedWindowState() {
    WindowState state;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect desktop = screen->virtualGeometry();
        state.screenWidth = PixelsToTwips(desktop.right() + 1);
        state.screenHeight = PixelsToTwips(desktop.bottom() + 1);
    }
    state.designWidth = kDesignWidth;
    state.designHeight = kDesignHeight;
    return state;
}

QRect OntoAScreen(const QRect& rect) {
    QScreen* best = nullptr;
    qint64 bestArea = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        QRect overlap = screen->availableGeometry().intersected(rect);
        qint64 area = qint64(overlap.width()) * overlap.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    if (!best) best = QGuiApplication::primaryScreen();
    if (!best) return rect;
    QRect area = best->availableGeometry();
    QRect placed = rect;
    placed.setWidth(std::min(rect.width(), area.width()));
    placed.setHeight(std::min(rect.height(), area.height()));
    placed.moveLeft(std::clamp(rect.left(), area.left(), area.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(rect.top(), area.top(), area.bottom() + 1 - placed.height()));
    return placed;
}

void ApplyWindowPlace(QWidget* window, const WindowState& state) {
    QRect stored(TwipsToPixels(state.left), TwipsToPixels(state.top),
                 std::max(TwipsToPixels(state.width), window->minimumWidth()),
                 std::max(TwipsToPixels(state.height), window->minimumHeight()));
    QRect placed = OntoAScreen(stored);
    window->resize(placed.size());
    window->move(placed.topLeft());
    if (state.mode == WindowMode::Maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void CollectWindowPlace(const QWidget* window, WindowState& state) {
    Qt::WindowStates mode = window->windowState();
    state.mode = mode & Qt::WindowMaximized   ? WindowMode::Maximized
                 : mode & Qt::WindowMinimized ? WindowMode::Minimized
                                              : WindowMode::Normal;
    if (state.mode != WindowMode::Normal) return;
    state.left = PixelsToTwips(window->x());
    state.top = PixelsToTwips(window->y());
    state.width = PixelsToTwips(window->width());
    state.height = PixelsToTwips(window->height());
}

}  // namespace kest::gui
