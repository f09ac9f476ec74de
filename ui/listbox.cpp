#include "listbox.h"

#include "widgets.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace skelvor {

ListBox::ListBox(QWidget* parent) : QListView(parent) {
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ListBox::setItems(QAbstractItemModel* model) {
  setModel(model);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (!quiet_ && current.isValid()) emit click();
  });
}

void ListBox::mousePressEvent(QMouseEvent* event) {
  if (!picksInList(*event)) return;
  const QModelIndex before = currentIndex();
  QListView::mousePressEvent(event);
  // A second click on the item already current picks it again, as a file to read anew or a country left highlighted.
  if (before.isValid() && indexAt(event->position().toPoint()) == before && currentIndex() == before) emit click();
}

void ListBox::mouseMoveEvent(QMouseEvent* event) {
  if (picksInList(*event)) QListView::mouseMoveEvent(event);
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (picksInList(*event)) QListView::mouseDoubleClickEvent(event);
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (picksInList(*event)) QListView::mouseReleaseEvent(event);
  emit mouseUp(event->button(), event->modifiers(), event->position());
}

void ListBox::focusInEvent(QFocusEvent* event) {
  // Item views make the first item current when they take the focus; a list box only shows where the focus is.
  const bool hadCurrent = currentIndex().isValid();
  QScopedValueRollback quietly(quiet_, true);
  QListView::focusInEvent(event);
  if (!hadCurrent && currentIndex().isValid()) selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
}

}  // namespace skelvor
