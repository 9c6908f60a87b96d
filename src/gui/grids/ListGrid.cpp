#include "gui/grids/ListGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>
#include <string>
#include <vector>

#include "gui/grids/ListTableModel.h"
#include "gui/widgets/Twips.h"

namespace kest::gui {
namespace {

// Narrow enough for a one-digit column, wide enough to grab its edge.
constexpr int kMinimumColumnPixels = 24;

}  // namespace

ListGrid::ListGrid(ListTableModel* model, QWidget* parent) : QTableView(parent), m_model(model) {
    setModel(model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAlternatingRowColors(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    // As in the classic grid, the back colour shows right of the last column.
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Tab leaves the grid for the next control; the arrows move in it.
    setTabKeyNavigation(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit RowChosen();
    });
}

void ListGrid::Reload() {
    m_model->Reload();
    if (hasFocus()) MakeFirstRowCurrent();
    // A width of 0 or less in the settings would hide a column the user
    // asked for: it gets the grid's default width instead. No header is cut.
    for (int c = 0; c < m_model->columnCount(); ++c) {
        int twips = m_model->ColumnTwips(c);
        int width = twips > 0 ? std::max(TwipsToPixels(twips), kMinimumColumnPixels)
                              : horizontalHeader()->defaultSectionSize();
        setColumnWidth(c, std::max(width, horizontalHeader()->sectionSizeHint(c)));
    }
}

void ListGrid::ShowAddedRows() {
    m_model->ShowAddedRows();
}

std::vector<std::pair<size_t, int>> ListGrid::ColumnTwips() const {
    std::vector<std::pair<size_t, int>> widths;
    for (int c = 0; c < m_model->columnCount(); ++c)
        widths.emplace_back(m_model->TableColumn(c), PixelsToTwips(columnWidth(c)));
    return widths;
}

QString ListGrid::SelectedText() const {
    // The selected blocks of rows, in order; the cells are read from the
    // table in place, so a million rows copy without a string per cell.
    std::vector<std::pair<int, int>> blocks;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        blocks.emplace_back(range.top(), range.bottom());
    std::sort(blocks.begin(), blocks.end());
    std::string text;
    int next = 0;  // the first row not copied yet: overlapping blocks copy once
    for (auto [top, bottom] : blocks) {
        for (int row = std::max(top, next); row <= bottom; ++row) {
            for (int c = 0; c < m_model->columnCount(); ++c) {
                if (c > 0) text += '\t';
                text += m_model->Cell(row, c);
            }
            text += '\n';
        }
        next = std::max(next, bottom + 1);
    }
    return QString::fromStdString(text);
}

void ListGrid::keyboardSearch(const QString&) {}

void ListGrid::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(SelectedText());
        return;
    }
    // Ctrl+Enter chooses the row too (the disc list explores the disc then).
    const auto modifiers = e->modifiers() & ~(Qt::KeypadModifier | Qt::ControlModifier);
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        if (currentIndex().isValid()) emit RowChosen();
        return;
    }
    // The menu key and Shift+F10 open the pop-up menu at the current row.
    if (e->key() == Qt::Key_Menu ||
        (e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier)) {
        QModelIndex current = currentIndex();
        QRect row = current.isValid() ? visualRect(current) : QRect();
        if (row.isValid()) emit customContextMenuRequested(row.center());
        return;
    }
    QTableView::keyPressEvent(e);
}

void ListGrid::focusInEvent(QFocusEvent* e) {
    QTableView::focusInEvent(e);
    // A click makes its own row current.
    if (e->reason() != Qt::MouseFocusReason) MakeFirstRowCurrent();
}

void ListGrid::MakeFirstRowCurrent() {
    if (currentIndex().isValid() || m_model->rowCount() == 0 || m_model->columnCount() == 0) return;
    selectionModel()->setCurrentIndex(
        m_model->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

}  // namespace kest::gui
