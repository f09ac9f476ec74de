#pragma once

#include "listorder.h"

#include <QAbstractListModel>
#include <QListView>
#include <QStringList>

#include <vector>

namespace skelvor {

namespace detail {

/// The items of a sorted list, held as one string list so that a bulk fill is a single reset.
class ItemModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  const QStringList& items() const { return items_; }
  void replaceAll(QStringList items);
  void insertAt(qsizetype row, const QString& text);

 private:
  QStringList items_;
};

}  // namespace detail

/// A list box that keeps its items in ascending order, letter case ignored, in the user's locale. Adding and
/// clearing raise no Click; making an item current, by the user or through SetText / SetListIndex, raises Click,
/// whose handlers run to their end before the setter returns. A left-button press on the current item raises Click
/// again, so that an item left highlighted by another list can be picked anew.
class SortedList : public QListView {
  Q_OBJECT

 public:
  explicit SortedList(QWidget* parent = nullptr);

  /// Adds one item in its sorted place, after any items that compare equal to it.
  void AddItem(const QString& text);
  /// Replaces all items at once; the order is the one that adding them one by one would give.
  void SetItems(QStringList items);
  /// Removes every item; afterwards no item is current or selected.
  void Clear();

  qsizetype ListCount() const;
  QString List(qsizetype index) const;
  const QStringList& Items() const;

  /// The text of the current item, or the empty text when none is current.
  QString Text() const;
  /// Makes current the item whose text equals `text` exactly, or else the first that equals it with letter case
  /// ignored, and raises Click. When no item matches, nothing changes and nothing is raised.
  void SetText(const QString& text);
  /// The index of the current item, or -1.
  qsizetype ListIndex() const;
  /// Makes the item at `index` current and raises Click; an index outside the list changes nothing.
  void SetListIndex(qsizetype index);

  bool Selected(qsizetype index) const;
  void SetSelected(qsizetype index, bool selected);
  /// The selected flag of every item, in list order, read in one pass.
  std::vector<bool> SelectedFlags() const;
  /// Selects the rows of `ranges` (first, last inclusive) and clears every other row, in one step.
  void SetSelectedRanges(const QList<std::pair<qsizetype, qsizetype>>& ranges);

 signals:
  /// An item became current, by the user or by the program.
  void click();
  /// A mouse button was released over the list.
  void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);

 protected:
  /// Only the left button picks and selects; a press on the current item raises Click again.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  /// Raises mouseUp for every button.
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void onCurrentChanged(const QModelIndex& current);
  void makeCurrent(qsizetype row);

  detail::ItemModel model_;
  ListOrder order_;
  bool quiet_ = false;
};

}  // namespace skelvor
