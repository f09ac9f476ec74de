#include "listbox.h"

#include "widgets.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace skelvor {

ListBox::ListBox(QWidget* parent) : QListView(parent) {
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ListBox::setItems(QAbstractItemModel* model, QItemSelectionModel* selection) {
  setModel(model);
  if (selection != nullptr) {
    QItemSelectionModel* const made = selectionModel();
    setSelectionModel(selection);
    delete made;
  }
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

void ListBox::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  if (event->reason() != QContextMenuEvent::Mouse) {
    requestMenuForCurrent();
    return;
  }
  // A click's menu event comes from the viewport, in its coordinates.
  const QModelIndex under = indexAt(event->pos());
  emit menuRequested(under.isValid() ? under.row() : -1, event->globalPos());
}

void ListBox::keyPressEvent(QKeyEvent* event) {
  const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
  const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
  if (!menuKey && !shiftF10) {
    QListView::keyPressEvent(event);
    return;
  }
  event->accept();
  requestMenuForCurrent();
}

void ListBox::requestMenuForCurrent() {
  const QModelIndex current = currentIndex();
  const QRect shown = visualRect(current).intersected(viewport()->rect());
  const QPoint corner = shown.isEmpty() ? QPoint(0, 0) : QPoint(shown.left(), shown.bottom());
  emit menuRequested(current.isValid() ? current.row() : -1, viewport()->mapToGlobal(corner));
}

}  // namespace skelvor
