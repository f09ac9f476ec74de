#pragma once

#include <QObject>

namespace skelvor {

/// Shows the busy pointer over every window of the program while it lives; the default pointer comes back however
/// the scope is left.
class BusyPointer {
 public:
  BusyPointer();
  ~BusyPointer();
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

/// Handles every window event that is waiting, repaints included, and returns.
void processWaitingEvents();

/// A free text kept with a control, as list boxes, labels and check boxes carry one.
QString tagOf(const QObject* control);
void setTag(QObject* control, const QString& tag);

/// Enter on a focused button clicks it, as the space bar does.
class EnterClicksButtons : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace skelvor
