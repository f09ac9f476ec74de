#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace skelvor {

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
