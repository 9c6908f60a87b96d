#include "gui/app/WindowLook.h"

#include "core/app/WindowRules.h"
#include "gui/widgets/StoredColour.h"
#include "gui/widgets/Twips.h"

namespace kest::gui {
namespace {

// Text that stays readable on the given background.
QColor TextOn(const QColor& back) {
    return back.lightnessF() < 0.55 ? QColor(Qt::white) : QColor(Qt::black);
}

}  // namespace

void ApplyColours(const MainControls& c, const AppSettings& settings) {
    std::optional<QColor> back = StoredColour(settings.Back_Color);
    if (back) {
        QPalette backdrop = c.LblBack->palette();
        backdrop.setColor(QPalette::Window, *back);
        backdrop.setColor(QPalette::WindowText, TextOn(*back));
        c.LblBack->setPalette(backdrop);
    }
    for (ListGrid* grid : {c.fgdDiscs, c.fgdResults}) {
        if (back) {
            QPalette colours = grid->palette();
            colours.setColor(QPalette::Base, *back);
            grid->setPalette(colours);
        }
        grid->setShowGrid(settings.GridLines != 0);
    }
}

void ApplyGridFont(const MainControls& c, const WindowState& w) {
    if (w.fontName.empty()) return;
    QFont font(QString::fromStdString(w.fontName));
    if (w.fontSize >= 1) font.setPointSizeF(w.fontSize);
    font.setItalic(w.fontItalic);
    font.setBold(w.fontBold);
    for (ListGrid* grid : {c.fgdDiscs, c.fgdResults}) grid->setFont(font);
}

void FitMinimumSize(QWidget* window, const AppSettings& settings) {
    window->setMinimumSize(TwipsToPixels(app::AdvancedPanelOf(settings).minimumWidth),
                           TwipsToPixels(kMinHeight));
}

void ShowToolbar(const MainControls& c, bool visible) {
    c.CoolBar1->setVisible(visible);
    c.tbrMain->setVisible(visible);
}

}  // namespace kest::gui
