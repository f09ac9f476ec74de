#include "savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace skelvor {

namespace {

WriteResult writeFailure(const QString& path, const QString& reason) {
  return {false, QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason), {}};
}

}  // namespace

// QSaveFile writes a temporary file beside the target and renames it over the target on commit. A rename would
// replace a device or other special file just as it replaces a regular one, so only regular files and new names are
// accepted as targets.
WriteResult writeFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& writeContent) {
  const QFileInfo target(path);
  if (target.isDir()) return writeFailure(path, QStringLiteral("it is a folder"));
  if (target.exists() && !target.isFile()) return writeFailure(path, QStringLiteral("it is not a regular file"));

  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    // The system's reason for a folder without write rights is a bare "Permission denied" or "Access is denied":
    // when a file made beside the target fails too, the folder is named and the way out told.
    const QString folder = target.absolutePath();
    if (QFileInfo(folder).isDir() && !folderTakesNewFiles(folder))
      return {false, unwritableFolderMessage(folder, isProgramFolder(folder)), QDir::toNativeSeparators(folder)};
    return writeFailure(path, file.errorString());
  }
  if (!writeContent(file)) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return writeFailure(path, reason);
  }
  if (!file.commit()) return writeFailure(path, file.errorString());
  return {true, {}, {}};
}

WriteResult writeFileAtomically(const QString& path, const QByteArray& bytes) {
  return writeFileAtomically(path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

bool folderTakesNewFiles(const QString& folder) {
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".skelvor-XXXXXX")));
  return probe.open();
}

bool isProgramFolder(const QString& folder) {
  return QCoreApplication::instance() && QFileInfo(folder) == QFileInfo(QCoreApplication::applicationDirPath());
}

QString unwritableFolderCause(bool programFolder, QStringView option) {
  const QString cause = QStringLiteral("you cannot write in this folder. ");
  if (programFolder)
    return cause + QStringLiteral(
                       "Move the Skelvor folder to a folder you can write to, such as your Documents, or install "
                       "Skelvor with its installer.");
  if (option.isEmpty()) return cause + QStringLiteral("Choose a folder you can write to.");
  return cause + QStringLiteral("Choose a folder you can write to (%1).").arg(option);
}

QString unwritableFolderMessage(const QString& folder, bool programFolder, QStringView option) {
  return QDir::toNativeSeparators(folder) + QStringLiteral(": ") + unwritableFolderCause(programFolder, option);
}

}  // namespace skelvor
