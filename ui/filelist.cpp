#include "filelist.h"

#include "widgets.h"

#include <QDir>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace skelvor {

FileList::FileList(QWidget* parent) : QListView(parent), model_(this) {
  setModel(&model_);
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (!quiet_ && current.isValid()) emit click();
  });
}

void FileList::SetPath(const QString& folder) {
  path_ = folder;
  Refresh();
}

void FileList::SetPattern(const QString& pattern) {
  pattern_ = pattern;
  Refresh();
}

void FileList::Refresh() {
  QStringList names;
  if (!path_.isEmpty()) {
    // Without QDir::Hidden and QDir::System, dot-files, hidden files and special files stay out.
    QDir folder(path_, pattern_, QDir::Name | QDir::IgnoreCase, QDir::Files);
    names = folder.entryList();
  }
  QScopedValueRollback quiet(quiet_, true);
  model_.setStringList(names);
}

qsizetype FileList::ListCount() const { return model_.rowCount(); }

QString FileList::List(qsizetype index) const {
  return model_.data(model_.index(static_cast<int>(index)), Qt::DisplayRole).toString();
}

QString FileList::FileName() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? List(current.row()) : QString();
}

void FileList::mousePressEvent(QMouseEvent* event) {
  if (!picksInList(*event)) return;
  const QModelIndex before = currentIndex();
  QListView::mousePressEvent(event);
  // A second click on the file already current reads it again.
  if (before.isValid() && indexAt(event->position().toPoint()) == before && currentIndex() == before) emit click();
}

void FileList::mouseMoveEvent(QMouseEvent* event) {
  if (picksInList(*event)) QListView::mouseMoveEvent(event);
}

void FileList::mouseDoubleClickEvent(QMouseEvent* event) {
  if (picksInList(*event)) QListView::mouseDoubleClickEvent(event);
}

void FileList::mouseReleaseEvent(QMouseEvent* event) {
  if (picksInList(*event)) QListView::mouseReleaseEvent(event);
}

void FileList::focusInEvent(QFocusEvent* event) {
  const bool hadCurrent = currentIndex().isValid();
  QScopedValueRollback quiet(quiet_, true);
  QListView::focusInEvent(event);
  if (!hadCurrent && currentIndex().isValid()) selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
}

}  // namespace skelvor
