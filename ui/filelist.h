#pragma once

#include "listbox.h"

#include <QStringListModel>

namespace skelvor {

/// A list box of the names of the files in one folder that match a wildcard pattern, letter case ignored, in
/// ascending order of name with letter case ignored. Folders, hidden and system files are left out. Click is raised
/// whenever the user makes a file current or clicks the current one again.
class FileList : public ListBox {
  Q_OBJECT

 public:
  explicit FileList(QWidget* parent = nullptr);

  QString Path() const { return path_; }
  /// Points the list at `folder` and fills it afresh, with no file current.
  void SetPath(const QString& folder);
  QString Pattern() const { return pattern_; }
  /// Sets the wildcard pattern ("*" any run of characters, "?" one character) and fills the list afresh.
  void SetPattern(const QString& pattern);
  /// Reads the folder again with the current pattern.
  void Refresh();

  qsizetype ListCount() const;
  QString List(qsizetype index) const;
  /// The name of the current file, without folder, or the empty text.
  QString FileName() const;

  QString Tag() const { return tag_; }
  void SetTag(const QString& tag) { tag_ = tag; }

 private:
  QStringListModel model_;
  QString path_;
  QString pattern_ = QStringLiteral("*");
  QString tag_;
};

}  // namespace skelvor
