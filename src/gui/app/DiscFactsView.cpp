#include "gui/app/DiscFactsView.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>

#include "core/discs/SelectedDisc.h"
#include "gui/app/TrayIcon.h"
#include "gui/dialogs/ErrorTrap.h"
#include "gui/discfacts/MountRecognition.h"
#include "gui/discfacts/frmDuplicates.h"
#include "gui/discfacts/frmLentDiscs.h"
#include "gui/explore/ExploreHooks.h"
#include "gui/grids/ListGrid.h"
#include "gui/scan/WindowScan.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {
namespace {

// The box layout that holds a widget, searched from a root layout.
QBoxLayout* LayoutHolding(QLayout* root, QWidget* widget) {
    if (!root) return nullptr;
    if (root->indexOf(widget) >= 0) return qobject_cast<QBoxLayout*>(root);
    for (int i = 0; i < root->count(); ++i)
        if (QBoxLayout* found = LayoutHolding(root->itemAt(i)->layout(), widget)) return found;
    return nullptr;
}

// Shows and hides a widget with another (the filter box with the disc list).
class FollowVisibility : public QObject {
  public:
    FollowVisibility(QWidget* leader, QWidget* follower) : QObject(follower), m_follower(follower) {
        leader->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) m_follower->show();
        if (event->type() == QEvent::Hide) m_follower->hide();
        return false;
    }

  private:
    QWidget* m_follower;
};

}  // namespace

DiscFactsView::DiscFactsView(app::Session& session, const platform::Volumes& volumes,
                             discs::DiscList& discs, search::SearchPanel& results,
                             const MainControls& controls, TrayIcon* tray, WindowScan& scan,
                             QWidget* window)
    : QObject(window),
      m_session(session),
      m_volumes(volumes),
      m_discs(discs),
      m_results(results),
      c(controls),
      m_scan(scan),
      m_window(window) {
    AddFilterBox();
    RecognitionHooks hooks;
    hooks.catalog = [this]() -> engine::Database* {
        bool usable = m_session.current.HasDatabase() && !m_scan.Running();
        return usable ? &m_session.current.Db() : nullptr;
    };
    hooks.status = [this](const QString& text) { c.panels[0]->setText(text); };
    hooks.showDisc = [this](int64_t kestId) { SelectDisc(kestId); };
    hooks.chooseDrive = [this](const std::string& root) { ChooseDrive(root); };
    hooks.scanUnknown = [this] { return m_session.settings.ScanUnknownDiscs; };
    hooks.scan = [this] { m_scan.Start(); };
    m_recognition = new MountRecognition(
        this, volumes, MakeDesktopNotifier(tray ? &tray->Icon() : nullptr), std::move(hooks));
}

void DiscFactsView::ShowDuplicates() {
    if (!m_session.current.HasDatabase()) return;
    frmDuplicates dialog(
        m_window,
        MakeExploreHost(
            m_session, m_volumes, m_discs, m_results, [this] { emit ListsChanged(); }, m_window, c),
        m_discs.summary);
    RunModal(dialog);
}

void DiscFactsView::ShowLentDiscs() {
    if (!m_session.current.HasDatabase()) return;
    RunTrapped(m_session.prompter, "Error in listing lent discs", [&] {
        frmLentDiscs dialog(m_window, m_session.current.Db());
        RunModal(dialog);
    });
}

void DiscFactsView::OnMountsChanged() {
    m_recognition->OnMountsChanged();
}

void DiscFactsView::AddFilterBox() {
    QWidget* grid = c.fgdDiscs;
    auto* box = new QLineEdit(grid->parentWidget());
    box->setObjectName(QStringLiteral("txtDiscFilter"));
    box->setAccessibleName(QStringLiteral("Filter the disc list"));
    box->setPlaceholderText(
        QStringLiteral("Filter: text of a disc, its location, tags, borrower or notes"));
    box->setClearButtonEnabled(true);
    if (QBoxLayout* layout = LayoutHolding(grid->parentWidget()->layout(), grid))
        layout->insertWidget(layout->indexOf(grid), box);
    new FollowVisibility(grid, box);
    box->setVisible(grid->isVisible());
    // Typing pauses before the list is read again.
    auto* pause = new QTimer(box);
    pause->setSingleShot(true);
    pause->setInterval(250);
    connect(box, &QLineEdit::textChanged, pause, qOverload<>(&QTimer::start));
    connect(pause, &QTimer::timeout, this, [this, box] {
        m_discs.filter = {};
        m_discs.filter.text = box->text().trimmed().toStdString();
        emit DiscListWanted();
    });
}

void DiscFactsView::SelectDisc(int64_t kestId) {
    emit DiscsViewWanted();
    auto row = discs::FindDiscRow(m_discs.table, std::to_string(kestId));
    if (!row) return;
    ListGrid* grid = c.fgdDiscs;
    QModelIndex first = grid->model()->index(static_cast<int>(*row), 0);
    grid->setCurrentIndex(first);
    grid->selectRow(static_cast<int>(*row));
    grid->scrollTo(first);
    m_window->showNormal();
    m_window->activateWindow();
    grid->setFocus();
}

void DiscFactsView::ChooseDrive(const std::string& root) {
    QComboBox* drives = c.icbDrives;
    int index = drives->findData(QString::fromStdString(root));
    if (index >= 0) drives->setCurrentIndex(index);
    c.cmdSS->setFocus();
}

}  // namespace kest::gui
