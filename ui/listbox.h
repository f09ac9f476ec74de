#pragma once

#include <QListView>

namespace skelvor {

/// What the window's list boxes share: only the left button picks and selects, a press on the current item raises
/// Click again, and taking the focus makes no item current. Click is raised whenever an item becomes current, unless
/// the change is made quietly. A right click, the Menu key and Shift+F10 ask for a context menu and change nothing.
class ListBox : public QListView {
  Q_OBJECT

 public:
  explicit ListBox(QWidget* parent = nullptr);

 signals:
  /// An item became current, by the user or by the program.
  void click();
  /// A mouse button was released over the list.
  void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);
  /// The user asked for a context menu at `where` on the screen: with the mouse over the item at `row`, or over no
  /// item (-1); or from the keyboard, for the current item (-1 when none is current).
  void menuRequested(qsizetype row, QPoint where);

 protected:
  /// Sets the model, and `selection` when given (over that model) in place of Qt's, and raises Click for each change
  /// of the current item from then on.
  void setItems(QAbstractItemModel* model, QItemSelectionModel* selection = nullptr);
  /// Whether changes of the current item raise no Click for now.
  bool& quiet() { return quiet_; }

  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  /// Raises mouseUp for every button.
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  /// The Menu key and Shift+F10 ask for the menu of the current item, where the system does not turn them into a
  /// context menu event of its own.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  /// Asks for the menu of the current item, shown beside it, or at the top of the list when none is current or it
  /// is out of sight.
  void requestMenuForCurrent();

  bool quiet_ = false;
};

}  // namespace skelvor
