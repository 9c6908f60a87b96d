#include "gui/scan/QtScanView.h"

#include <QApplication>

#include "gui/widgets/Twips.h"

namespace kest::gui {
namespace {

// The moving image travels from kAnimationStart to this left edge, in twips.
constexpr int kAnimationEnd = 5000;

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

QtScanView::QtScanView(const ScanControls& controls, QObject* parent)
    : QObject(parent), c(controls) {
    const ScanProgressControls& p = c.progress;
    p.imgGo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    p.imgGo->setFixedWidth(TwipsToPixels(kAnimationEnd - scan::kAnimationStart) +
                           p.imgGo->pixmap().width());
    // ProgLbl2 and ProgLbl4 read the percent across the middle of their bars.
    for (int inside : {1, 3}) {
        QLabel* label = p.ProgLbl[size_t(inside)];
        label->setGeometry(p.ProgPic[size_t(inside)]->rect());
        label->setAlignment(Qt::AlignCenter);
        label->raise();
    }
    connect(p.tmrAnimate, &QTimer::timeout, this, &QtScanView::MoveAnimation);
}

void QtScanView::LockControls(bool locked) {
    m_locked = locked;
    bool enabled = !locked;
    for (QWidget* control : c.locked) control->setEnabled(enabled);
    // A disabled menu still lets its entries' shortcuts through: the entries
    // themselves are locked and come back as they were.
    if (locked) {
        m_lockedActions.clear();
        for (QMenu* menu : c.menus) {
            menu->setEnabled(false);
            LockEntries(menu);
        }
        for (QAction* button : c.toolButtons) {
            m_lockedActions.emplace_back(button, button->isEnabled());
            button->setEnabled(false);
        }
        return;
    }
    for (auto it = m_lockedActions.rbegin(); it != m_lockedActions.rend(); ++it)
        if (it->first) it->first->setEnabled(it->second);
    m_lockedActions.clear();
    for (QMenu* menu : c.menus) menu->setEnabled(true);
    c.progress.tmrAnimate->stop();
    c.icbDrives->setFocus();
}

void QtScanView::LockEntries(QMenu* menu) {
    for (QAction* entry : menu->actions()) {
        m_lockedActions.emplace_back(entry, entry->isEnabled());
        entry->setEnabled(false);
        if (entry->menu()) LockEntries(entry->menu());
    }
}

void QtScanView::SetBusyPointer(bool busy) {
    m_busy.Set(busy);
}

void QtScanView::ShowCancel(bool visible) {
    c.progress.cmdCancel->setVisible(visible);
    c.progress.cmdCancel->setEnabled(visible);
}

void QtScanView::ShowProgressPanel(scan::ProgressPanel panel) {
    const ScanProgressControls& p = c.progress;
    if (panel == scan::ProgressPanel::Hidden) {
        p.tmrAnimate->stop();
        p.panel->hide();
        return;
    }
    bool animation = panel == scan::ProgressPanel::Animation;
    bool subfiles = panel == scan::ProgressPanel::TotalAndSubfiles;
    p.lblNoProg->setVisible(animation);
    for (QLabel* image : {p.imgStart, p.imgEnd, p.imgGo}) image->setVisible(animation);
    p.lblTotProg->setVisible(!animation);
    p.ProgPic[1]->setVisible(!animation);
    p.ProgLbl[0]->setVisible(!animation);
    p.lblSubProg->setVisible(subfiles);
    p.ProgPic[3]->setVisible(subfiles);
    p.ProgLbl[2]->setVisible(subfiles);
    if (animation) {
        m_animation = scan::kAnimationStart;
        p.imgGo->setContentsMargins(0, 0, 0, 0);
        p.tmrAnimate->start();
    } else {
        p.tmrAnimate->stop();
    }
    p.panel->show();
}

void QtScanView::SetTotalCaption(const std::string& caption) {
    c.progress.lblTotProg->setText(FromUtf8(caption));
}

void QtScanView::ShowTotalProgress(const scan::ProgressBar& bar) {
    ShowBar(0, bar);
}

void QtScanView::ShowSubProgress(const scan::ProgressBar& bar) {
    ShowBar(2, bar);
}

// fill is the index of the filled part (ProgPic1 or ProgPic3); its frame and
// both labels follow it.
void QtScanView::ShowBar(int fill, const scan::ProgressBar& bar) {
    const ScanProgressControls& p = c.progress;
    QFrame* filled = p.ProgPic[size_t(fill)];
    int width =
        std::min(TwipsToPixels(static_cast<int>(bar.width)), p.ProgPic[size_t(fill + 1)]->width());
    if (filled->width() != width) filled->resize(std::max(width, 0), filled->height());
    QString label = FromUtf8(bar.label);
    for (QLabel* text : {p.ProgLbl[size_t(fill)], p.ProgLbl[size_t(fill + 1)]})
        if (text->text() != label) text->setText(label);
}

void QtScanView::MoveAnimation() {
    m_animation = scan::NextAnimationPosition(m_animation);
    c.progress.imgGo->setContentsMargins(TwipsToPixels(m_animation - scan::kAnimationStart), 0, 0,
                                         0);
}

void QtScanView::SetStatus(scan::StatusPanel panel, const std::string& text) {
    c.panels[panel == scan::StatusPanel::Scan ? 0 : 1]->setText(FromUtf8(text));
}

void QtScanView::Pump() {
    auto now = CoarseClock::now();
    if (now - m_lastPump < pumpEvery) return;
    m_lastPump = now;
    QCoreApplication::processEvents();
}

void QtScanView::ReloadDiscList() {
    if (onReloadDiscList) onReloadDiscList();
}

void QtScanView::ResetResults() {
    if (onResetResults) onResetResults();
}

}  // namespace kest::gui
