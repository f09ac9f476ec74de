#include "sortedlist.h"

#include "listtext.h"

#include <QGuiApplication>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>
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

SortedList::SortedList(QWidget* parent)
    : ListBox(parent), model_(this), selection_(new detail::RowSelection(&model_, this)) {
  setItems(&model_, selection_);
  setItemDelegate(new detail::RowDelegate(selection_, this));
  connect(selection_, &detail::RowSelection::rowsChanged, viewport(), qOverload<>(&QWidget::update));
}

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

bool SortedList::Selected(qsizetype index) const { return selection_->rowSelected(index); }

void SortedList::SetSelected(qsizetype index, bool selected) { selection_->setRow(index, selected); }

std::vector<bool> SortedList::SelectedFlags() const { return selection_->flags(); }

void SortedList::SetSelectedRanges(const QList<std::pair<qsizetype, qsizetype>>& ranges) {
  selection_->setRanges(ranges);
}

QItemSelectionModel::SelectionFlags SortedList::selectionCommand(const QModelIndex& index, const QEvent* event) const {
  using Flags = QItemSelectionModel;
  if (selectionMode() != ExtendedSelection) return ListBox::selectionCommand(index, event);
  const bool selected = index.isValid() && selection_->rowSelected(index.row());
  Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
  switch (event != nullptr ? event->type() : QEvent::None) {
    case QEvent::MouseMove:
      // A drag with Ctrl does to every row it passes what the press did to the row pressed.
      modifiers = static_cast<const QMouseEvent*>(event)->modifiers();
      if (modifiers & Qt::ControlModifier) return Flags::Current | ctrlDrag_;
      break;
    case QEvent::MouseButtonPress: {
      const auto* const press = static_cast<const QMouseEvent*>(event);
      modifiers = press->modifiers();
      const bool plain = !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier));
      // A press on a selected row keeps the selection until the release, which makes that row the only one.
      if (plain && selected) return Flags::NoUpdate;
      if (plain && !index.isValid() && !(press->button() & Qt::RightButton)) return Flags::Clear;
      if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::ShiftModifier)) {
        ctrlDrag_ = selected ? Flags::Deselect : Flags::Select;
        return ctrlDrag_;
      }
      break;
    }
    case QEvent::MouseButtonRelease:
      return index.isValid() && index.row() == pressedRow_ &&
                     !(pressedModifiers_ & (Qt::ShiftModifier | Qt::ControlModifier)) && selected
                 ? Flags::ClearAndSelect
                 : Flags::NoUpdate;
    case QEvent::KeyPress:
      modifiers = static_cast<const QKeyEvent*>(event)->modifiers();
      switch (static_cast<const QKeyEvent*>(event)->key()) {
        case Qt::Key_Backtab:
          modifiers ^= Qt::ShiftModifier;
          [[fallthrough]];
        case Qt::Key_Down:
        case Qt::Key_Up:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Tab:
          // Ctrl moves the current row and leaves the selection.
          if (modifiers & Qt::ControlModifier) return Flags::NoUpdate;
          break;
        case Qt::Key_Space:
          return (modifiers & Qt::ControlModifier) ? Flags::Toggle : Flags::Select;
        default:
          break;
      }
      break;
    default:
      break;
  }
  if (modifiers & Qt::ShiftModifier) return Flags::SelectCurrent;
  if (modifiers & Qt::ControlModifier) return Flags::Toggle;
  if (state() == DragSelectingState) return Flags::SelectCurrent;
  return Flags::ClearAndSelect;
}

void SortedList::mousePressEvent(QMouseEvent* event) {
  pressedRow_ = indexAt(event->position().toPoint()).row();
  pressedModifiers_ = event->modifiers();
  ListBox::mousePressEvent(event);
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
