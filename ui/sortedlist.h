#pragma once

#include "countryrows.h"
#include "listbox.h"
#include "listorder.h"
#include "rowselection.h"

#include <QAbstractListModel>
#include <QStringList>

#include <vector>

namespace skelvor {

namespace detail {

/// The items of a sorted list: texts held as one string list, or a country's rows, whose texts are built as they are
/// drawn. A bulk fill is a single reset.
class ItemModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  const QStringList& items() const { return items_; }
  const CountryRows& rows() const { return rows_; }
  qsizetype size() const { return items_.size() + rows_.size(); }
  QString text(qsizetype row) const { return rows_.isEmpty() ? items_.at(row) : rows_.item(row); }
  void replaceAll(QStringList items);
  void replaceAll(CountryRows rows);
  void insertAt(qsizetype row, const QString& text);

 private:
  QStringList items_;  // empty while rows_ is not
  CountryRows rows_;
};

}  // namespace detail

/// A list box that keeps its items in ascending order, letter case ignored, in the user's locale. Adding and
/// clearing raise no Click; making an item current, by the user or through SetText / SetListIndex, raises Click,
/// whose handlers run to their end before the setter returns. A left-button press on the current item raises Click
/// again, so that an item left highlighted by another list can be picked anew.
class SortedList : public ListBox {
  Q_OBJECT

 public:
  explicit SortedList(QWidget* parent = nullptr);

  /// Adds one item in its sorted place, after any items that compare equal to it.
  void AddItem(const QString& text);
  /// Replaces all items at once; the order is the one that adding them one by one would give.
  void SetItems(QStringList items);
  /// Replaces all items at once by a country's rows, which it puts in list order.
  void SetRows(CountryRows rows);
  /// Removes every item; afterwards no item is current or selected.
  void Clear();
  /// Starts the list afresh with the rows it holds, as Clear then SetRows with the same rows would, without putting
  /// them in order again.
  void Refill();

  qsizetype ListCount() const;
  QString List(qsizetype index) const;
  /// The items added as texts; none when the list holds rows.
  const QStringList& Items() const;
  /// The rows the list holds, if it holds rows.
  const CountryRows& Rows() const;

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

 protected:
  /// Qt's rules of what a click, a drag or a key does to a selection of several rows, Windows' rules, read from the
  /// list's own flags, which Qt's do not see.
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event = nullptr) const override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void makeCurrent(qsizetype row);

  detail::ItemModel model_;
  detail::RowSelection* selection_;
  ListOrder order_;
  // The press that a drag or a release belongs to: its row, its modifiers, and what a Ctrl-drag does to the rows.
  qsizetype pressedRow_ = -1;
  Qt::KeyboardModifiers pressedModifiers_;
  mutable QItemSelectionModel::SelectionFlags ctrlDrag_ = QItemSelectionModel::Select;
};

}  // namespace skelvor
