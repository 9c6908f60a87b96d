#include "gui/explore/FileListPane.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>

#include "core/filefunc/FileFunction.h"
#include "gui/widgets/Named.h"

namespace kest::gui {
namespace {

QAction* Entry(QMenu* menu, const char* name, const char* caption, const QKeySequence& keys = {}) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    return action;
}

}  // namespace

FileListPane::FileListPane(QWidget* parent, const search::SearchOptions& options, const QFont& font)
    : QTableView(parent), m_model(new FileListModel(this, options)) {
    Named(this, "lvwFiles", "Files");
    setModel(m_model);
    setFont(font);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(true);
    horizontalHeader()->setSortIndicator(FileListModel::Name, Qt::AscendingOrder);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setContextMenuPolicy(Qt::CustomContextMenu);
    const int em = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    horizontalHeader()->resizeSection(FileListModel::Name, 22 * em);
    // A date and time in the longest form the date formats give, and room around it.
    horizontalHeader()->resizeSection(
        FileListModel::Date,
        fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00:00 AM")) + 2 * em);
    BuildMenu();
    connect(this, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { ActivateRow(index.row()); });
    connect(this, &QWidget::customContextMenuRequested, this, &FileListPane::ShowMenu);
}

void FileListPane::BuildMenu() {
    mnuExplorePopUp = Named(new QMenu(this), "mnuExplorePopUp", "File actions");
    QAction* details = Entry(mnuExplorePopUp, "mnuExpDetails", "File &Details...");
    QAction* functions[] = {Entry(mnuExplorePopUp, "mnuExpGetFile1", "&Open File..."),
                            Entry(mnuExplorePopUp, "mnuExpGetFile2", "Open &Folder..."),
                            Entry(mnuExplorePopUp, "mnuExpGetFile3", "&Explore Folder...")};
    mnuExplorePopUp->addSeparator();
    QAction* copy = Entry(mnuExplorePopUp, "mnuExpCopy", "&Copy", QKeySequence::Copy);
    connect(details, &QAction::triggered, this, &FileListPane::DetailsWanted);
    for (int f = filefunc::kOpenFile; f <= filefunc::kExploreFolder; ++f)
        connect(functions[f - 1], &QAction::triggered, this,
                [this, f] { emit FileFunctionWanted(f); });
    connect(copy, &QAction::triggered, this, &FileListPane::CopyRows);
    // The copy key works in the list without the menu.
    auto* copyKey = new QShortcut(QKeySequence::Copy, this);
    copyKey->setContext(Qt::WidgetShortcut);
    connect(copyKey, &QShortcut::activated, this, &FileListPane::CopyRows);
}

void FileListPane::Show(std::vector<explore::FolderItem> folders, FileListModel::OpenReader open,
                        std::function<bool()> busy, bool inArchive) {
    for (int c = FileListModel::Packed; c <= FileListModel::Encrypted; ++c)
        setColumnHidden(c, !inArchive);
    m_model->Reset(std::move(folders), std::move(open), std::move(busy));
    horizontalHeader()->setSortIndicator(FileListModel::Name, Qt::AscendingOrder);
    if (m_model->rowCount({}) > 0) SelectRow(0);
}

void FileListPane::Release() {
    m_model->Release();
}

// A row past the end is left alone.
void FileListPane::SelectRow(int row) {
    if (row < m_model->rowCount({})) setCurrentIndex(m_model->index(row, 0));
}

void FileListPane::SelectName(const std::string& name) {
    for (int row = 0; row < m_model->rowCount({}); ++row) {
        const explore::FileItem* file = m_model->FileAt(row);
        if ((m_model->IsFolder(row) ? m_model->FolderAt(row).name
             : file                 ? file->name
                                    : std::string()) == name) {
            setCurrentIndex(m_model->index(row, 0));
            return;
        }
    }
}

void FileListPane::SelectFile(int64_t fileId) {
    const int row = m_model->RowOfFile(fileId);
    if (row < 0) return;
    setCurrentIndex(m_model->index(row, 0));
    scrollTo(m_model->index(row, 0));
}

const explore::FileItem* FileListPane::CurrentFile() const {
    return m_model->FileAt(currentIndex().row());
}

void FileListPane::CopyRows() {
    QStringList lines;
    const auto rows = selectionModel()->selectedRows();
    for (const QModelIndex& index : rows) lines << m_model->RowText(index.row());
    if (lines.isEmpty() && currentIndex().isValid())
        lines << m_model->RowText(currentIndex().row());
    if (!lines.isEmpty()) QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void FileListPane::ShowMenu(const QPoint& at) {
    const QModelIndex index = indexAt(at);
    if (index.isValid()) setCurrentIndex(index);
    const bool file = CurrentFile() != nullptr;
    for (QAction* entry : mnuExplorePopUp->actions())
        if (entry->objectName() != QLatin1String("mnuExpCopy")) entry->setEnabled(file);
    mnuExplorePopUp->popup(viewport()->mapToGlobal(at));
}

// A subfolder or an archive opens; a file shows its details.
void FileListPane::ActivateRow(int row) {
    if (m_model->IsFolder(row)) {
        emit OpenWanted(std::string(m_model->FolderAt(row).name));
        return;
    }
    const explore::FileItem* file = m_model->FileAt(row);
    if (file && file->archive)
        emit OpenWanted(std::string(file->name));
    else
        emit DetailsWanted();
}

void FileListPane::keyPressEvent(QKeyEvent* event) {
    const bool plain = event->modifiers() == Qt::NoModifier;
    if (plain && event->key() == Qt::Key_Backspace) {
        emit UpWanted();
        return;
    }
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        ActivateRow(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace kest::gui
