#include "rowselection.h"

#include <algorithm>

namespace skelvor::detail {

RowSelection::RowSelection(QAbstractItemModel* model, QObject* parent) : QItemSelectionModel(model, parent) {
  const auto count = [model] { return static_cast<std::size_t>(model->rowCount()); };
  rows_.resize(count());
  connect(model, &QAbstractItemModel::modelReset, this, [this, count] {
    pending_.clear();
    rows_.assign(count(), 0);
    emit rowsChanged();
  });
  connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
    settle();
    rows_.insert(rows_.begin() + first, static_cast<std::size_t>(last - first + 1), 0);
    emit rowsChanged();
  });
  connect(model, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first, int last) {
    settle();
    rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
    emit rowsChanged();
  });
}

void RowSelection::select(const QModelIndex& index, SelectionFlags command) {
  select(QItemSelection(index, index), command);
}

void RowSelection::select(const QItemSelection& selection, SelectionFlags command) {
  if (command == NoUpdate) return;
  if (command & Clear) clearRows();
  if (!(command & Current)) settle();
  if (command & (Toggle | Select | Deselect)) {
    pending_.clear();
    for (const QItemSelectionRange& range : selection)
      if (range.isValid()) pending_.emplace_back(range.top(), range.bottom());
    pendingCommand_ = command;
  }
  QItemSelectionModel::select(selection, command);
  emit rowsChanged();
}

void RowSelection::clear() {
  QItemSelectionModel::clear();
  clearRows();
  emit rowsChanged();
}

void RowSelection::reset() {
  QItemSelectionModel::reset();
  clearRows();
  emit rowsChanged();
}

bool RowSelection::rowSelected(qsizetype row) const {
  if (row < 0 || row >= static_cast<qsizetype>(rows_.size())) return false;
  const bool settled = rows_[static_cast<std::size_t>(row)] != 0;
  for (const auto& [first, last] : pending_) {
    if (row < first || row > last) continue;
    if (pendingCommand_ & Toggle) return !settled;
    return (pendingCommand_ & Select) != 0;
  }
  return settled;
}

std::vector<bool> RowSelection::flags() const {
  std::vector<bool> flags(rows_.size());
  for (std::size_t row = 0; row < rows_.size(); ++row) flags[row] = rowSelected(static_cast<qsizetype>(row));
  return flags;
}

void RowSelection::setRow(qsizetype row, bool selected) {
  if (row < 0 || row >= static_cast<qsizetype>(rows_.size())) return;
  settle();
  rows_[static_cast<std::size_t>(row)] = selected ? 1 : 0;
  QItemSelectionModel::select(model()->index(static_cast<int>(row), 0), selected ? Select : Deselect);
  emit rowsChanged();
}

void RowSelection::setRanges(const QList<std::pair<qsizetype, qsizetype>>& ranges) {
  QItemSelectionModel::clearSelection();
  clearRows();  // which Qt's part, holding none of the rows set in one step, may not have asked for
  const auto size = static_cast<qsizetype>(rows_.size());
  for (const auto& [first, last] : ranges)
    if (first <= last && first < size && last >= 0)
      std::fill(rows_.begin() + std::max<qsizetype>(first, 0), rows_.begin() + std::min(last, size - 1) + 1, 1);
  emit rowsChanged();
}

// The rows of the last change become the rows themselves.
void RowSelection::settle() {
  for (const auto& [first, last] : pending_)
    for (qsizetype row = first; row <= last && row < static_cast<qsizetype>(rows_.size()); ++row) {
      char& flag = rows_[static_cast<std::size_t>(row)];
      flag = (pendingCommand_ & Toggle) ? !flag : (pendingCommand_ & Select) != 0;
    }
  pending_.clear();
}

void RowSelection::clearRows() {
  pending_.clear();
  std::fill(rows_.begin(), rows_.end(), 0);
}

void RowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  option->state.setFlag(QStyle::State_Selected, selection_->rowSelected(index.row()));
}

}  // namespace skelvor::detail
