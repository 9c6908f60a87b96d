#include "gui/explore/frmExplore.h"

#include <QEvent>
#include <QLabel>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include "core/catalog/FormatFileSize.h"
#include "core/explore/ExploreTexts.h"
#include "core/explore/FileLocation.h"
#include "core/filefunc/FileFunction.h"
#include "core/search/SearchSettings.h"
#include "gui/explore/ExplorePathBar.h"
#include "gui/explore/FileDetailsOfFile.h"
#include "gui/explore/FileListPane.h"
#include "gui/explore/FolderTreePane.h"
#include "gui/filefunc/RunFileFunction.h"
#include "gui/widgets/Named.h"

namespace kest::gui {
namespace {

constexpr const char* kTitle = "Explore Disc";

// The status line: the place's subfolders, and the files, folders and bytes below it.
QString SummaryText(const explore::DiscTree& tree, const explore::Place& place) {
    const explore::FolderItem facts = tree.Facts(place);
    return QString::fromStdString(
        explore::CountText(static_cast<int64_t>(tree.Subfolders(place).size()), "folder") +
        " here; " + explore::CountText(facts.files, "file") + " and " +
        explore::CountText(facts.folders, "folder") + " below, " +
        SizeText(static_cast<uint64_t>(facts.bytes)));
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
    window->lvwFiles->SelectFile(fileId);
    window->lvwFiles->setFocus();
    return window;
}

frmExplore::frmExplore(QWidget* main, ExploreHost host, explore::DiscTree tree)
    : QWidget(main, Qt::Window),
      m_host(std::move(host)),
      m_tree(std::move(tree)),
      m_catalogPath(m_host.session.current.path) {
    setAttribute(Qt::WA_DeleteOnClose);
    Build();
    ConnectParts();
}

QTableView* frmExplore::List() const {
    return lvwFiles;
}

void frmExplore::Build() {
    setObjectName(QStringLiteral("frmExplore"));
    const QString caption = QString::fromStdString(explore::DiscCaption(m_tree.Disc()));
    setWindowTitle(QString::fromLatin1(kTitle) + QStringLiteral(" - ") + caption);
    setAccessibleName(windowTitle());
    auto* lblDisc = Named(new QLabel(caption, this), "lblDisc", "Disc");
    fraPath = Named(new ExplorePathBar(this), "fraPath", "Path bar");
    const search::SearchOptions options = search::SearchOptionsFrom(m_host.session.settings);
    tvwFolders = new FolderTreePane(
        this, m_tree, [this] { return m_host.catalogBusy() ? nullptr : Db(); },
        [options](int64_t bytes) {
            return QString::fromStdString(
                explore::SizeShown(bytes, options.sizeFormat, options.sizeNumDec));
        });
    lvwFiles = new FileListPane(this, options, m_host.listFont);
    lblStatus = Named(new QLabel(this), "lblStatus", "Folder summary");

    auto* split = Named(new QSplitter(this), "splExplore", "Folders and files");
    split->addWidget(tvwFolders);
    split->addWidget(lvwFiles);
    split->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDisc);
    layout->addWidget(fraPath);
    layout->addWidget(split, 1);
    layout->addWidget(lblStatus);
    split->setSizes({320, 680});
    resize(1000, 560);
}

void frmExplore::ConnectParts() {
    auto key = [this](const QKeySequence& keys, void (frmExplore::*action)()) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::ALT | Qt::Key_Left), &frmExplore::Back);
    key(QKeySequence(Qt::ALT | Qt::Key_Right), &frmExplore::Forward);
    key(QKeySequence(Qt::ALT | Qt::Key_Up), &frmExplore::Up);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { close(); });
    connect(fraPath, &ExplorePathBar::BackWanted, this, &frmExplore::Back);
    connect(fraPath, &ExplorePathBar::ForwardWanted, this, &frmExplore::Forward);
    connect(fraPath, &ExplorePathBar::UpWanted, this, &frmExplore::Up);
    connect(fraPath, &ExplorePathBar::PathEntered, this, [this](const explore::FolderPath& path) {
        if (!Go(path)) fraPath->RevertPath();
    });
    connect(tvwFolders, &FolderTreePane::FolderChosen, this, [this](int32_t folder) {
        if (!m_place.archive && folder == m_place.folder) return;
        Go(m_tree.Folders().PathOf(folder));
    });
    connect(tvwFolders, &FolderTreePane::UpWanted, this, &frmExplore::Up);
    connect(lvwFiles, &FileListPane::UpWanted, this, &frmExplore::Up);
    connect(lvwFiles, &FileListPane::OpenWanted, this, [this](const std::string& name) {
        explore::FolderPath path = Path();
        path.push_back(name);
        Go(path);
    });
    connect(lvwFiles, &FileListPane::DetailsWanted, this, &frmExplore::ShowFileDetails);
    connect(lvwFiles, &FileListPane::FileFunctionWanted, this, &frmExplore::RunFileFunction);
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
    lvwFiles->Release();
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
    m_history.Visit(path, remember);
    m_place = std::move(*place);
    const explore::Place at = m_place;
    lvwFiles->Show(
        m_tree.Subfolders(m_place),
        [this, at](explore::FileOrder order, int64_t skip) {
            return m_tree.Files(*Db(), at, order, skip);
        },
        [this] { return Db() == nullptr || m_host.catalogBusy(); }, m_place.archive.has_value());
    fraPath->Show(Path(), m_history.CanGoBack(), m_history.CanGoForward());
    tvwFolders->Select(m_place.folder);
    lblStatus->setText(SummaryText(m_tree, m_place));
    return true;
}

void frmExplore::Back() {
    if (auto to = m_history.StepBack()) Go(*to, false);
}

void frmExplore::Forward() {
    if (auto to = m_history.StepForward()) Go(*to, false);
}

void frmExplore::Up() {
    if (Path().empty()) return;
    explore::FolderPath up = Path();
    const std::string left = up.back();
    up.pop_back();
    if (!Go(up)) return;
    // The folder just left stays selected, as a file manager keeps it.
    lvwFiles->SelectName(left);
}

void frmExplore::ShowFileDetails() {
    const explore::FileItem* file = lvwFiles->CurrentFile();
    if (!file || !StillThere()) return;
    if (!ShowFileDetailsOf(this, m_host, file->fileId) || !StillThere()) return;
    // A description may have changed: the list shows it, the place kept.
    const int row = lvwFiles->currentIndex().row();
    Go(Path(), false);
    lvwFiles->SelectRow(row);
}

void frmExplore::RunFileFunction(int function) {
    const explore::FileItem* file = lvwFiles->CurrentFile();
    if (!file || !StillThere()) return;
    gui::RunFileFunction(
        this, m_host.session, m_host.volumes,
        filefunc::LookUpFileTarget(*Db(), std::to_string(m_tree.Disc().kestId),
                                   std::to_string(file->fileId), function, m_host.session.prompter),
        function);
}

bool frmExplore::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) StillThere();
    // Away from the window the catalog may be compacted, closed or scanned:
    // the list lets go of its statement.
    if (event->type() == QEvent::WindowDeactivate) lvwFiles->Release();
    return QWidget::event(event);
}

}  // namespace kest::gui
