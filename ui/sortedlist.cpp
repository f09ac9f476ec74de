#include "sortedlist.h"

#include "listtext.h"

#include <QItemSelection>
#include <QScopedValueRollback>

#include <algorithm>
#include <utility>

namespace skelvor {

namespace detail {

int ItemModel::rowCount(const QModelIndex& parent) const {
  // Item views count rows in int; lists longer than that cannot be shown by any Qt view.
  return parent.isValid() ? 0 : static_cast<int>(std::min<qsizetype>(size(), INT_MAX));
}

QVariant ItemModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= size()) return {};
  return text(index.row());
}

// The previous items are freed once the view has let go of them.
void ItemModel::replaceAll(QStringList items) {
  beginResetModel();
  QStringList previous = std::exchange(items_, std::move(items));
  CountryRows previousRows = std::exchange(rows_, CountryRows());
  endResetModel();
}

void ItemModel::replaceAll(CountryRows rows) {
  beginResetModel();
  QStringList previous = std::exchange(items_, QStringList());
  CountryRows previousRows = std::exchange(rows_, std::move(rows));
  endResetModel();
}

void ItemModel::insertAt(qsizetype row, const QString& text) {
  beginInsertRows({}, static_cast<int>(row), static_cast<int>(row));
  items_.insert(row, text);
  endInsertRows();
}

}  // namespace detail

SortedList::SortedList(QWidget* parent) : ListBox(parent), model_(this) { setItems(&model_); }

void SortedList::AddItem(const QString& text) {
  if (!model_.rows().isEmpty()) SetItems(QStringList());
  const qsizetype place = order_.insertionPlace(model_.items(), text);
  QScopedValueRollback quietly(quiet(), true);
  model_.insertAt(place, text);
}

void SortedList::SetItems(QStringList items) {
  QStringList sorted = order_.sorted(std::move(items));
  QScopedValueRollback quietly(quiet(), true);
  model_.replaceAll(std::move(sorted));
}

void SortedList::SetRows(CountryRows rows) {
  rows.sort(order_);
  QScopedValueRollback quietly(quiet(), true);
  model_.replaceAll(std::move(rows));
}

void SortedList::Clear() {
  QScopedValueRollback quietly(quiet(), true);
  model_.replaceAll(QStringList());
}

void SortedList::Refill() {
  CountryRows rows = model_.rows();
  Clear();
  QScopedValueRollback quietly(quiet(), true);
  model_.replaceAll(std::move(rows));
}

qsizetype SortedList::ListCount() const { return model_.size(); }

QString SortedList::List(qsizetype index) const {
  return index >= 0 && index < ListCount() ? model_.text(index) : QString();
}

const QStringList& SortedList::Items() const { return model_.items(); }

const CountryRows& SortedList::Rows() const { return model_.rows(); }

QString SortedList::Text() const { return List(ListIndex()); }

void SortedList::SetText(const QString& text) {
  const qsizetype row = pickedItem(model_.items(), text);
  if (row >= 0) makeCurrent(row);
}

qsizetype SortedList::ListIndex() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() : -1;
}

void SortedList::SetListIndex(qsizetype index) {
  if (index < 0 || index >= ListCount()) return;
  makeCurrent(index);
}

bool SortedList::Selected(qsizetype index) const {
  return selectionModel()->isSelected(model_.index(static_cast<int>(index)));
}

void SortedList::SetSelected(qsizetype index, bool selected) {
  selectionModel()->select(model_.index(static_cast<int>(index)),
                           selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

std::vector<bool> SortedList::SelectedFlags() const {
  std::vector<bool> flags(static_cast<std::size_t>(ListCount()), false);
  for (const QItemSelectionRange& range : selectionModel()->selection())
    for (int row = range.top(); row <= range.bottom(); ++row) flags[static_cast<std::size_t>(row)] = true;
  return flags;
}

void SortedList::SetSelectedRanges(const QList<std::pair<qsizetype, qsizetype>>& ranges) {
  QItemSelection selection;
  for (const auto& [first, last] : ranges)
    selection.select(model_.index(static_cast<int>(first)), model_.index(static_cast<int>(last)));
  // The old selection goes first: Qt compares an old selection with a new one run by run, in a time that grows with
  // the product of their numbers of runs, and the selections of scattered rows of a large list have many runs.
  selectionModel()->clearSelection();
  selectionModel()->select(selection, QItemSelectionModel::Select);
}

void SortedList::makeCurrent(qsizetype row) {
  const QModelIndex index = model_.index(static_cast<int>(row));
  {
    QScopedValueRollback quietly(quiet(), true);
    const auto command = selectionMode() == QAbstractItemView::SingleSelection ? QItemSelectionModel::ClearAndSelect
                                                                               : QItemSelectionModel::NoUpdate;
    selectionModel()->setCurrentIndex(index, command);
  }
  scrollTo(index);
  emit click();
}

}  // namespace skelvor
