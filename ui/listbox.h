#pragma once

#include <QListView>

namespace skelvor {

/// What the window's list boxes share: only the left button picks and selects, a press on the current item raises
/// Click again, and taking the focus makes no item current. Click is raised whenever an item becomes current, unless
/// the change is made quietly.
class ListBox : public QListView {
  Q_OBJECT

 public:
  explicit ListBox(QWidget* parent = nullptr);

 signals:
  /// An item became current, by the user or by the program.
  void click();
  /// A mouse button was released over the list.
  void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);

 protected:
  /// Sets the model and raises Click for each change of the current item from then on.
  void setItems(QAbstractItemModel* model);
  /// Whether changes of the current item raise no Click for now.
  bool& quiet() { return quiet_; }

  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  /// Raises mouseUp for every button.
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  bool quiet_ = false;
};

}  // namespace skelvor
