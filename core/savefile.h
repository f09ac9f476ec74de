#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringView>

#include <functional>

namespace skelvor {

/// The outcome of writing a file.
struct WriteResult {
  bool ok = false;
  QString error;
  /// The folder of the file, with native separators, when the file was not written because the folder takes no new
  /// file; empty otherwise.
  QString unwritableFolder;
  /// Whether the file was not written because another program kept it open for as long as Skelvor waited.
  bool busy = false;
};

/// Writes `bytes` to `path` through a temporary file that replaces the target only once it is complete, so a failed
/// write leaves any earlier file as it was. Where another program holds the target open (on Windows), the replacing is
/// tried again for about two seconds before the write fails with a busy file.
WriteResult writeFileAtomically(const QString& path, const QByteArray& bytes);

/// Writes the file at `path` as above, its content written by `writeContent` to the device it is given, a piece at a
/// time if it likes; `writeContent` tells whether the device took every piece.
WriteResult writeFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& writeContent);

/// Whether a new file can be made in `folder`, found out by making an empty temporary file there and removing it: the
/// rights on the folder decide, where its read-only mark alone says nothing on Windows.
bool folderTakesNewFiles(const QString& folder);

/// Whether `folder` is the folder of the running program.
bool isProgramFolder(const QString& folder);

/// Why nothing can be written into a folder that takes no new file, and what to do, as the cause said after the
/// folder's name: for the program's own folder, move the Skelvor folder to one the user can write to, or install
/// Skelvor; for another folder, choose one the user can write to, with `option` named when one is given.
QString unwritableFolderCause(bool programFolder, QStringView option = {});

/// Why a file that another program holds open cannot be written, and what to do, as the cause said after the file's
/// name; `action` is what to do again once it is free ("export", "import").
QString busyFileCause(QStringView action);

/// "Cannot write", the file's name with native separators, a colon, and busyFileCause: one line.
QString busyFileMessage(const QString& path, QStringView action);

/// The folder's name with native separators, a colon, and unwritableFolderCause: one line.
QString unwritableFolderMessage(const QString& folder, bool programFolder, QStringView option = {});

}  // namespace skelvor
