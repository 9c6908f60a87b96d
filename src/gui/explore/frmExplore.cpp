#include "gui/explore/frmExplore.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/catalog/FormatFileSize.h"
#include "core/details/FileDetailsLookup.h"
#include "core/details/FileDetailsWindow.h"
#include "core/explore/ExploreTexts.h"
#include "core/explore/FileLocation.h"
#include "core/filefunc/FileFunction.h"
#include "core/search/SearchSettings.h"
#include "gui/details/frmFileDetails.h"
#include "gui/explore/FileListModel.h"
#include "gui/explore/FolderTreeModel.h"
#include "gui/filefunc/RunFileFunction.h"
#include "gui/widgets/ModalRun.h"

namespace kest::gui {
namespace {

constexpr const char* kTitle = "Explore Disc";

template <typename W>
W* Named(W* widget, const char* name, const char* accessible) {
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QString::fromLatin1(accessible));
    return widget;
}

QAction* Entry(QMenu* menu, const char* name, const char* caption, const QKeySequence& keys = {}) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    return action;
}

}  // namespace

frmExplore* frmExplore::Open(QWidget* main, ExploreHost host, int32_t kestId) {
    if (!host.session.current.HasDatabase() || host.catalogBusy()) return nullptr;
    auto tree = explore::DiscTree::Load(host.session.current.Db(), kestId);
    if (!tree) {
        host.session.prompter.Show(kTitle, explore::NoDiscText(kestId));
        return nullptr;
    }
    auto* window = new frmExplore(main, std::move(host), std::move(*tree));
    window->Go({}, false);
    window->show();
    return window;
}

frmExplore* frmExplore::ShowFile(QWidget* main, ExploreHost host, int64_t fileId) {
    if (!host.session.current.HasDatabase() || host.catalogBusy()) return nullptr;
    auto file = explore::LocateFile(host.session.current.Db(), fileId);
    if (!file) {
        host.session.prompter.Show(kTitle, "no records");
        return nullptr;
    }
    frmExplore* window = Open(main, std::move(host), file->kestId);
    if (!window || !window->Go(file->folder, false)) return window;
    int row = window->m_fileModel->RowOfFile(fileId);
    if (row >= 0) {
        window->lvwFiles->setCurrentIndex(window->m_fileModel->index(row, 0));
        window->lvwFiles->scrollTo(window->m_fileModel->index(row, 0));
    }
    window->lvwFiles->setFocus();
    return window;
}

frmExplore::frmExplore(QWidget* main, ExploreHost host, explore::DiscTree tree)
    : QWidget(main, Qt::Window),
      m_host(std::move(host)),
      m_tree(std::move(tree)),
      m_catalogPath(m_host.session.current.path),
      m_options(search::SearchOptionsFrom(m_host.session.settings)) {
    setAttribute(Qt::WA_DeleteOnClose);
    Build();
    ConnectActions();
}

void frmExplore::Build() {
    setObjectName(QStringLiteral("frmExplore"));
    const QString caption = QString::fromStdString(explore::DiscCaption(m_tree.Disc()));
    setWindowTitle(QString::fromLatin1(kTitle) + QStringLiteral(" - ") + caption);
    setAccessibleName(windowTitle());
    lblDisc = Named(new QLabel(caption, this), "lblDisc", "Disc");
    cmdBack = Named(new QToolButton(this), "cmdBack", "Back");
    cmdForward = Named(new QToolButton(this), "cmdForward", "Forward");
    cmdUp = Named(new QToolButton(this), "cmdUp", "Up");
    cmdBack->setArrowType(Qt::LeftArrow);
    cmdForward->setArrowType(Qt::RightArrow);
    cmdUp->setArrowType(Qt::UpArrow);
    cmdBack->setToolTip(QStringLiteral("Back (Alt+Left)"));
    cmdForward->setToolTip(QStringLiteral("Forward (Alt+Right)"));
    cmdUp->setToolTip(QStringLiteral("Up (Alt+Up, Backspace)"));
    auto* pathLabel = new QLabel(QStringLiteral("&Path:"), this);
    txtPath = Named(new QLineEdit(this), "txtPath", "Path");
    pathLabel->setBuddy(txtPath);
    tvwFolders = Named(new QTreeView(this), "tvwFolders", "Folders");
    lvwFiles = Named(new QTableView(this), "lvwFiles", "Files");
    lblStatus = Named(new QLabel(this), "lblStatus", "Folder summary");

    m_folderModel = new FolderTreeModel(this);
    m_folderModel->Reset(
        &m_tree, [this] { return m_host.catalogBusy() ? nullptr : Db(); },
        [this](int64_t bytes) {
            return QString::fromStdString(
                explore::SizeShown(bytes, m_options.sizeFormat, m_options.sizeNumDec));
        });
    tvwFolders->setModel(m_folderModel);
    tvwFolders->setUniformRowHeights(true);
    tvwFolders->header()->setStretchLastSection(false);
    tvwFolders->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 3; ++c)
        tvwFolders->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    tvwFolders->expand(m_folderModel->IndexOf(explore::FolderTree::kRoot));

    m_fileModel = new FileListModel(this, m_options);
    lvwFiles->setModel(m_fileModel);
    lvwFiles->setFont(m_host.listFont);
    lvwFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwFiles->setSortingEnabled(true);
    lvwFiles->horizontalHeader()->setSortIndicator(FileListModel::Name, Qt::AscendingOrder);
    lvwFiles->verticalHeader()->hide();
    lvwFiles->verticalHeader()->setDefaultSectionSize(lvwFiles->fontMetrics().height() + 6);
    lvwFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    const int em = lvwFiles->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    lvwFiles->horizontalHeader()->resizeSection(FileListModel::Name, 22 * em);
    lvwFiles->horizontalHeader()->resizeSection(FileListModel::Date, 14 * em);

    auto* bar = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(cmdBack), static_cast<QWidget*>(cmdForward),
                       static_cast<QWidget*>(cmdUp), static_cast<QWidget*>(pathLabel),
                       static_cast<QWidget*>(txtPath)})
        bar->addWidget(w);
    auto* split = Named(new QSplitter(this), "splExplore", "Folders and files");
    split->addWidget(tvwFolders);
    split->addWidget(lvwFiles);
    split->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDisc);
    layout->addLayout(bar);
    layout->addWidget(split, 1);
    layout->addWidget(lblStatus);
    split->setSizes({320, 680});
    resize(1000, 560);

    mnuExplorePopUp = new QMenu(this);
    mnuExplorePopUp->setObjectName(QStringLiteral("mnuExplorePopUp"));
    mnuExplorePopUp->setAccessibleName(QStringLiteral("File actions"));
}

void frmExplore::ConnectActions() {
    QAction* details = Entry(mnuExplorePopUp, "mnuExpDetails", "File &Details...");
    QAction* functions[] = {Entry(mnuExplorePopUp, "mnuExpGetFile1", "&Open File..."),
                            Entry(mnuExplorePopUp, "mnuExpGetFile2", "Open &Folder..."),
                            Entry(mnuExplorePopUp, "mnuExpGetFile3", "&Explore Folder...")};
    mnuExplorePopUp->addSeparator();
    QAction* copy = Entry(mnuExplorePopUp, "mnuExpCopy", "&Copy", QKeySequence::Copy);
    connect(details, &QAction::triggered, this, &frmExplore::ShowFileDetails);
    for (int f = filefunc::kOpenFile; f <= filefunc::kExploreFolder; ++f)
        connect(functions[f - 1], &QAction::triggered, this, [this, f] { RunFileFunction(f); });
    connect(copy, &QAction::triggered, this, &frmExplore::CopyRows);
    // The copy key works in the list without the menu.
    auto* copyKey = new QShortcut(QKeySequence::Copy, lvwFiles);
    copyKey->setContext(Qt::WidgetShortcut);
    connect(copyKey, &QShortcut::activated, this, &frmExplore::CopyRows);

    auto key = [this](const QKeySequence& keys, void (frmExplore::*action)()) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::ALT | Qt::Key_Left), &frmExplore::Back);
    key(QKeySequence(Qt::ALT | Qt::Key_Right), &frmExplore::Forward);
    key(QKeySequence(Qt::ALT | Qt::Key_Up), &frmExplore::Up);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { close(); });
    connect(cmdBack, &QToolButton::clicked, this, &frmExplore::Back);
    connect(cmdForward, &QToolButton::clicked, this, &frmExplore::Forward);
    connect(cmdUp, &QToolButton::clicked, this, &frmExplore::Up);
    connect(txtPath, &QLineEdit::returnPressed, this, [this] {
        if (!Go(explore::ParseFolderPath(txtPath->text().toStdString())))
            txtPath->setText(QString::fromStdString(explore::FolderPathText(m_path)));
    });
    connect(lvwFiles, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { ActivateRow(index.row()); });
    connect(lvwFiles, &QWidget::customContextMenuRequested, this, &frmExplore::ShowMenu);
    connect(tvwFolders->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                int32_t folder = m_folderModel->FolderOf(current);
                if (folder < 0 || (!m_place.archive && folder == m_place.folder)) return;
                Go(m_tree.Folders().PathOf(folder));
            });
    for (QWidget* view : {static_cast<QWidget*>(lvwFiles), static_cast<QWidget*>(tvwFolders)})
        view->installEventFilter(this);
}

engine::Database* frmExplore::Db() const {
    const CurrentCatalog& current = m_host.session.current;
    if (!current.HasDatabase() || current.path != m_catalogPath) return nullptr;
    return current.database.get();
}

bool frmExplore::StillThere() {
    if (m_closing) return false;
    if (m_host.catalogBusy()) return false;
    engine::Database* db = Db();
    if (db && m_tree.DiscExists(*db)) return true;
    m_closing = true;
    m_fileModel->Release();
    m_host.session.prompter.Show(
        kTitle, db ? explore::DiscGoneText(m_tree.Disc()) : explore::CatalogGoneText(),
        Icon::Information);
    close();
    return false;
}

bool frmExplore::Go(const explore::FolderPath& path, bool remember) {
    if (!StillThere()) return false;
    engine::Database& db = *Db();
    auto place = m_tree.Find(db, path);
    if (!place) {
        m_host.session.prompter.Show(kTitle, explore::NoFolderText(path), Icon::Exclamation);
        return false;
    }
    if (remember && path != m_path) {
        m_back.push_back(m_path);
        m_forward.clear();
    }
    m_path = path;
    m_place = std::move(*place);
    const bool inArchive = m_place.archive.has_value();
    for (int c = FileListModel::Packed; c <= FileListModel::Encrypted; ++c)
        lvwFiles->setColumnHidden(c, !inArchive);
    const explore::Place at = m_place;
    m_fileModel->Reset(
        m_tree.Subfolders(m_place),
        [this, at](explore::FileOrder order, int64_t skip) {
            return m_tree.Files(*Db(), at, order, skip);
        },
        [this] { return Db() == nullptr || m_host.catalogBusy(); });
    lvwFiles->horizontalHeader()->setSortIndicator(FileListModel::Name, Qt::AscendingOrder);
    if (m_fileModel->rowCount({}) > 0) lvwFiles->setCurrentIndex(m_fileModel->index(0, 0));
    txtPath->setText(m_path.empty() ? QStringLiteral("<root>")
                                    : QString::fromStdString(explore::FolderPathText(m_path)));
    cmdBack->setEnabled(!m_back.empty());
    cmdForward->setEnabled(!m_forward.empty());
    cmdUp->setEnabled(!m_path.empty());
    SelectTreeFolder();
    ShowStatus();
    return true;
}

void frmExplore::SelectTreeFolder() {
    const QModelIndex index = m_folderModel->Reveal(m_place.folder);
    const QSignalBlocker quiet(tvwFolders->selectionModel());
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) tvwFolders->expand(up);
    tvwFolders->setCurrentIndex(index);
    tvwFolders->scrollTo(index);
}

void frmExplore::ShowStatus() {
    const explore::FolderItem facts = m_tree.Facts(m_place);
    lblStatus->setText(QString::fromStdString(
        explore::CountText(static_cast<int64_t>(m_tree.Subfolders(m_place).size()), "folder") +
        " here; " + explore::CountText(facts.files, "file") + " and " +
        explore::CountText(facts.folders, "folder") + " below, " +
        SizeText(static_cast<uint64_t>(facts.bytes))));
}

void frmExplore::Back() {
    if (m_back.empty()) return;
    explore::FolderPath to = m_back.back();
    m_back.pop_back();
    m_forward.push_back(m_path);
    if (!Go(to, false)) return;
}

void frmExplore::Forward() {
    if (m_forward.empty()) return;
    explore::FolderPath to = m_forward.back();
    m_forward.pop_back();
    m_back.push_back(m_path);
    Go(to, false);
}

void frmExplore::Up() {
    if (m_path.empty()) return;
    explore::FolderPath up = m_path;
    const std::string left = up.back();
    up.pop_back();
    if (!Go(up)) return;
    // The folder just left stays selected, as a file manager keeps it.
    for (int row = 0; row < m_fileModel->rowCount({}); ++row) {
        const explore::FileItem* file = m_fileModel->FileAt(row);
        if ((m_fileModel->IsFolder(row) ? m_fileModel->FolderAt(row).name
             : file                     ? file->name
                                        : std::string()) == left) {
            lvwFiles->setCurrentIndex(m_fileModel->index(row, 0));
            break;
        }
    }
}

const explore::FileItem* frmExplore::CurrentFile() const {
    return m_fileModel->FileAt(lvwFiles->currentIndex().row());
}

void frmExplore::ActivateRow(int row) {
    if (m_fileModel->IsFolder(row)) {
        explore::FolderPath path = m_path;
        path.push_back(m_fileModel->FolderAt(row).name);
        Go(path);
        return;
    }
    const explore::FileItem* file = m_fileModel->FileAt(row);
    if (file && file->archive) {
        explore::FolderPath path = m_path;
        path.push_back(file->name);
        Go(path);
        return;
    }
    ShowFileDetails();
}

void frmExplore::ShowFileDetails() {
    const explore::FileItem* file = CurrentFile();
    if (!file || !StillThere()) return;
    discs::CatalogViews views = m_host.catalogViews();
    // An archive's entry shows the details of its archive's row.
    auto record = details::LookUpFileDetails(views.db, std::to_string(file->fileId),
                                             views.listOptions, m_host.session.prompter);
    if (!record) return;
    details::FileDetailsWindow window(std::move(*record), views);
    frmFileDetails dialog(this, window, views.db, m_host.session.prompter, m_host.listFont,
                          m_host.discListFont, m_host.listsChanged);
    RunModal(dialog);
    if (!StillThere()) return;
    // A description may have changed: the list shows it, the place kept.
    const int row = lvwFiles->currentIndex().row();
    Go(m_path, false);
    if (row < m_fileModel->rowCount({})) lvwFiles->setCurrentIndex(m_fileModel->index(row, 0));
}

void frmExplore::RunFileFunction(int function) {
    const explore::FileItem* file = CurrentFile();
    if (!file || !StillThere()) return;
    gui::RunFileFunction(
        this, m_host.session, m_host.volumes,
        filefunc::LookUpFileTarget(*Db(), std::to_string(m_tree.Disc().kestId),
                                   std::to_string(file->fileId), function, m_host.session.prompter),
        function);
}

void frmExplore::CopyRows() {
    QStringList lines;
    const auto rows = lvwFiles->selectionModel()->selectedRows();
    for (const QModelIndex& index : rows) lines << m_fileModel->RowText(index.row());
    if (lines.isEmpty() && lvwFiles->currentIndex().isValid())
        lines << m_fileModel->RowText(lvwFiles->currentIndex().row());
    if (!lines.isEmpty()) QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void frmExplore::ShowMenu(const QPoint& at) {
    const QModelIndex index = lvwFiles->indexAt(at);
    if (index.isValid()) lvwFiles->setCurrentIndex(index);
    const bool file = CurrentFile() != nullptr;
    for (QAction* entry : mnuExplorePopUp->actions())
        if (entry->objectName() != QLatin1String("mnuExpCopy")) entry->setEnabled(file);
    mnuExplorePopUp->popup(lvwFiles->viewport()->mapToGlobal(at));
}

bool frmExplore::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) StillThere();
    // Away from the window the catalog may be compacted, closed or scanned:
    // the list lets go of its statement.
    if (event->type() == QEvent::WindowDeactivate) m_fileModel->Release();
    return QWidget::event(event);
}

bool frmExplore::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace && key->modifiers() == Qt::NoModifier) {
            Up();
            return true;
        }
        if (watched == lvwFiles && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            ActivateRow(lvwFiles->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kest::gui
