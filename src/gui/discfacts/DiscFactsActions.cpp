#include "gui/discfacts/DiscFactsActions.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>

#include "core/discs/SelectedDisc.h"
#include "gui/app/MainWindow.h"
#include "gui/app/MountWatch.h"
#include "gui/app/TrayIcon.h"
#include "gui/dialogs/ErrorTrap.h"
#include "gui/dialogs/ModalRun.h"
#include "gui/discfacts/MountRecognition.h"
#include "gui/discfacts/frmDuplicates.h"
#include "gui/discfacts/frmLentDiscs.h"
#include "gui/grids/ListGrid.h"
#include "gui/scan/WindowScan.h"

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

QAction* ToolsEntry(MainWindow& window, const char* name, const QString& text) {
    const MainMenus& m = window.Menus();
    auto* entry = new QAction(text, m.mnuTools);
    entry->setObjectName(QLatin1String(name));
    // Beside the other catalog tools, before the options' separator.
    QList<QAction*> entries = m.mnuTools->actions();
    qsizetype options = entries.indexOf(m.mnuOpts);
    m.mnuTools->insertAction(options > 0 ? entries[options - 1] : nullptr, entry);
    return entry;
}

void AddFilterBox(MainWindow& window) {
    QWidget* grid = window.Controls().fgdDiscs;
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
    QObject::connect(box, &QLineEdit::textChanged, pause, qOverload<>(&QTimer::start));
    QObject::connect(pause, &QTimer::timeout, &window, [&window, box] {
        discfacts::DiscFilter filter;
        filter.text = box->text().trimmed().toStdString();
        window.FilterDiscs(filter);
    });
}

void SelectDisc(MainWindow& window, int64_t kestId) {
    window.ToolbarAction(1);
    auto row = discs::FindDiscRow(window.Discs().table, std::to_string(kestId));
    if (!row) return;
    ListGrid* grid = window.Controls().fgdDiscs;
    QModelIndex first = grid->model()->index(static_cast<int>(*row), 0);
    grid->setCurrentIndex(first);
    grid->selectRow(static_cast<int>(*row));
    grid->scrollTo(first);
    window.showNormal();
    window.activateWindow();
    grid->setFocus();
}

void ChooseDrive(MainWindow& window, const std::string& root) {
    QComboBox* drives = window.Controls().icbDrives;
    int index = drives->findData(QString::fromStdString(root));
    if (index >= 0) drives->setCurrentIndex(index);
    window.Controls().cmdSS->setFocus();
}

}  // namespace

void InstallDiscFacts(MainWindow& window, const platform::Volumes& volumes, MountWatch& watch) {
    app::Session& session = window.Session();
    QAction* duplicates =
        ToolsEntry(window, "mnuDuplicates", QStringLiteral("Find D&uplicates..."));
    QObject::connect(duplicates, &QAction::triggered, &window, [&window, &session] {
        if (!session.current.HasDatabase()) return;
        frmDuplicates dialog(&window, session, window.Discs().summary);
        RunModal(dialog);
    });
    QAction* lent = ToolsEntry(window, "mnuLentDiscs", QStringLiteral("Len&t Discs..."));
    QObject::connect(lent, &QAction::triggered, &window, [&window, &session] {
        if (!session.current.HasDatabase()) return;
        RunTrapped(session.prompter, "Error in listing lent discs", [&] {
            frmLentDiscs dialog(&window, session.current.Db());
            RunModal(dialog);
        });
    });
    AddFilterBox(window);

    RecognitionHooks hooks;
    hooks.catalog = [&window, &session]() -> engine::Database* {
        bool usable = session.current.HasDatabase() && !window.Scan().Running();
        return usable ? &session.current.Db() : nullptr;
    };
    hooks.status = [&window](const QString& text) { window.Controls().panels[0]->setText(text); };
    hooks.showDisc = [&window](int64_t kestId) { SelectDisc(window, kestId); };
    hooks.chooseDrive = [&window](const std::string& root) { ChooseDrive(window, root); };
    hooks.scanUnknown = [&session] { return session.settings.ScanUnknownDiscs; };
    hooks.scan = [&window] { window.Scan().Start(); };
    auto* recognition = new MountRecognition(
        &window, volumes, MakeDesktopNotifier(window.Tray() ? &window.Tray()->Icon() : nullptr),
        std::move(hooks));
    QObject::connect(&watch, &MountWatch::Changed, recognition, &MountRecognition::OnMountsChanged);
}

}  // namespace kest::gui
