#include "filelist.h"

#include <QDir>
#include <QScopedValueRollback>

namespace skelvor {

FileList::FileList(QWidget* parent) : ListBox(parent), model_(this) { setItems(&model_); }

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
  QScopedValueRollback quietly(quiet(), true);
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

}  // namespace skelvor
