#include "gui/grids/DroppedFiles.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>

namespace kest::gui {
namespace {

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

class DropFilter : public QObject {
  public:
    DropFilter(QObject* parent, std::function<void(const QString&)> dropped)
        : QObject(parent), m_dropped(std::move(dropped)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDragMoveEvent*>(event);
                if (LocalFiles(drag->mimeData()).isEmpty()) {
                    drag->ignore();
                } else {
                    drag->setDropAction(Qt::CopyAction);
                    drag->accept();
                }
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                QStringList files = LocalFiles(drop->mimeData());
                if (files.isEmpty()) {
                    drop->ignore();
                    return true;
                }
                drop->setDropAction(Qt::CopyAction);
                drop->accept();
                m_dropped(files.first());
                return true;
            }
            default:
                return QObject::eventFilter(watched, event);
        }
    }

  private:
    std::function<void(const QString&)> m_dropped;
};

}  // namespace

void AcceptDroppedFiles(QAbstractScrollArea* grid, std::function<void(const QString&)> dropped) {
    grid->setAcceptDrops(true);
    grid->viewport()->setAcceptDrops(true);
    grid->viewport()->installEventFilter(new DropFilter(grid, std::move(dropped)));
}

}  // namespace kest::gui
