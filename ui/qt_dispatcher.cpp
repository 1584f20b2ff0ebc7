#include "ui/qt_dispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace nimbalo {

void QtDispatcher::Post(std::function<void()> fn) {
  // Queued onto the application object, so the call runs on the thread that owns it.
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn), Qt::QueuedConnection);
}

void QtDispatcher::ProcessEvents() {
  QCoreApplication::processEvents();
}

}  // namespace nimbalo
