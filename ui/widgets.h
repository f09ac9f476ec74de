#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

class QMouseEvent;

namespace skelvor {

/// Whether a mouse event may pick or select in a list: presses, releases and double clicks of the left button, and
/// moves with no button or with the left one held. Every other button leaves the list as it is.
bool picksInList(const QMouseEvent& event);

/// A caption made from data, shown as it stands on a button or check box: every "&" is doubled, so that none
/// becomes an access key.
QString literalCaption(QString text);

/// A label that raises Click when the user clicks it.
class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void click();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

/// A push button whose caption wraps onto several lines when it is wider than the button.
class WrappingButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

/// A check box whose caption wraps onto several lines beside its box when it is wider than the control.
class WrappingCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& position) const override;
};

}  // namespace skelvor
