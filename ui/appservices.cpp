#include "appservices.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QVariant>

namespace skelvor {

namespace {
constexpr char kTagProperty[] = "Tag";
}

BusyPointer::BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }

BusyPointer::~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }

void processWaitingEvents() { QCoreApplication::processEvents(); }

QString tagOf(const QObject* control) { return control->property(kTagProperty).toString(); }

void setTag(QObject* control, const QString& tag) { control->setProperty(kTagProperty, tag); }

bool EnterClicksButtons::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button != nullptr && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
      button->click();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace skelvor
