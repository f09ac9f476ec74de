#pragma once

#include <QItemSelectionModel>
#include <QList>
#include <QStyledItemDelegate>

#include <utility>
#include <vector>

namespace skelvor::detail {

/// The selected rows of a list, one flag a row. Qt's own selection model keeps runs of rows, each held by two
/// persistent indexes that the model keeps track of: the 853,786 scattered rows within 250 nm among the 2,850,000 of
/// one country took 0.32 s and about 300 MB to select that way, and the list's first drawing 0.14 s more. Every change
/// a view makes comes through select(); the list draws its rows from rowSelected() (RowDelegate) and chooses what a
/// press or a key does from rowSelected() too (SortedList::selectionCommand). Qt's part of the model, which
/// isSelected() and accessibility read, follows the changes that the user's clicks and keys make, and setRow(); the
/// selections set in one step by setRanges() (Find, Select All, a range), which may take millions of rows, are not
/// given to it: even one run of the 2,850,000 rows cost 0.12 s there, and Find's scattered rows of the 50,000-row
/// country 3.5 ms, against 5 ms for the whole of Find.
class RowSelection : public QItemSelectionModel {
  Q_OBJECT

 public:
  explicit RowSelection(QAbstractItemModel* model, QObject* parent = nullptr);

  void select(const QModelIndex& index, SelectionFlags command) override;
  /// Applies `command` as Qt's selection model does: Clear clears every row; a change without Current first settles
  /// the rows of the last one; Select, Deselect and Toggle then apply to the rows of `selection`, which a later change
  /// with Current replaces (a drag, or a Shift-click, that grows and shrinks).
  void select(const QItemSelection& selection, SelectionFlags command) override;
  void clear() override;
  void reset() override;

  bool rowSelected(qsizetype row) const;
  /// The flag of every row, in order.
  std::vector<bool> flags() const;
  void setRow(qsizetype row, bool selected);
  /// Selects the rows of `ranges` (first, last inclusive) and clears every other row.
  void setRanges(const QList<std::pair<qsizetype, qsizetype>>& ranges);

 signals:
  /// Some row's flag changed.
  void rowsChanged();

 private:
  void settle();
  void clearRows();

  std::vector<char> rows_;  // 1 for a selected row
  // The rows of the last change, not yet settled into rows_, and what it does to them.
  std::vector<std::pair<qsizetype, qsizetype>> pending_;
  SelectionFlags pendingCommand_ = NoUpdate;
};

/// Draws a list's rows as selected when its RowSelection says so.
class RowDelegate : public QStyledItemDelegate {
 public:
  RowDelegate(const RowSelection* selection, QObject* parent) : QStyledItemDelegate(parent), selection_(selection) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  const RowSelection* selection_;
};

}  // namespace skelvor::detail
