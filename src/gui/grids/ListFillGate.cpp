#include "gui/grids/ListFillGate.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMetaObject>
#include <QScrollBar>
#include <thread>

namespace kest::gui {
namespace {

bool MovesInList(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
    }
}

}  // namespace

ListFillGate::ListFillGate(QWidget* window, QAbstractScrollArea* list)
    : QObject(window), m_window(window), m_list(list) {}

void ListFillGate::Reset() {
    m_stopAsked = false;
    m_closeAsked = false;
}

void ListFillGate::Pump() {
    QCoreApplication::instance()->installEventFilter(this);
    // Socket notifiers (mounts, stop signals) wait: their handlers use the catalog.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    QCoreApplication::instance()->removeEventFilter(this);
}

void ListFillGate::RunWhilePainting(const std::function<void()>& work) {
    Reset();
    QEventLoop loop;
    // The quit is queued to the loop's thread, so it is seen even when the work
    // ends before the loop starts.
    std::thread worker([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QCoreApplication::instance()->installEventFilter(this);
    loop.exec(QEventLoop::ExcludeSocketNotifiers);
    QCoreApplication::instance()->removeEventFilter(this);
    worker.join();
    CloseIfAsked();
}

void ListFillGate::CloseIfAsked() {
    if (!m_closeAsked) return;
    m_closeAsked = false;
    QMetaObject::invokeMethod(m_window, &QWidget::close, Qt::QueuedConnection);
}

bool ListFillGate::InList(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget != nullptr && (widget == m_list || m_list->isAncestorOf(widget));
}

bool ListFillGate::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride: {
            // Taken as a plain key, so no menu shortcut fires; the key press follows.
            event->accept();
            return true;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape) {
                m_stopAsked = true;
                return true;
            }
            return !(MovesInList(key) && InList(watched));
        }
        case QEvent::KeyRelease:
            return !InList(watched);
        case QEvent::Wheel:
            return !InList(watched);
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            // The scroll bars only: a click on a row could open it.
            return !(qobject_cast<QScrollBar*>(watched) != nullptr && InList(watched));
        case QEvent::MouseButtonDblClick:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        case QEvent::Close:
            if (watched != m_window) return false;
            m_stopAsked = true;
            m_closeAsked = true;
            event->ignore();
            return true;
        default:
            return false;
    }
}

}  // namespace kest::gui
