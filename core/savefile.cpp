#include "savefile.h"

#include "savefile_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

namespace skelvor {

namespace detail {

WriteResult writeFailure(const QString& path, const QString& reason) {
  return {false, QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason), {}, false};
}

// The system's reason for a folder without write rights is a bare "Permission denied" or "Access is denied": when a
// file made beside the target fails too, the folder is named and the way out told.
WriteResult openFailure(const QString& path, const QString& reason) {
  const QString folder = QFileInfo(path).absolutePath();
  if (QFileInfo(folder).isDir() && !folderTakesNewFiles(folder))
    return {false, unwritableFolderMessage(folder, isProgramFolder(folder)), QDir::toNativeSeparators(folder), false};
  return writeFailure(path, reason);
}

Attempt retryWhileBusy(const std::function<Attempt()>& attempt, const Wait& wait) {
  Attempt outcome = attempt();
  for (const std::chrono::milliseconds pause : kBusyWaits) {
    if (outcome != Attempt::Busy) break;
    wait(pause);
    outcome = attempt();
  }
  return outcome;
}

// The temporary file is named after the target with six random characters added, as QSaveFile names its own. A
// QTemporaryFile finds the free name but keeps its file open until it goes, which would stop the file from being
// renamed on Windows: the content goes through a QFile of its own, closed before the file is put in place.
WriteResult writeReplacing(const QString& path, const std::function<bool(QIODevice&)>& writeContent,
                           const Replace& replace, const Wait& wait) {
  const QFileInfo target(path);
  if (target.exists() && !target.isWritable()) return writeFailure(path, QStringLiteral("the file is read-only"));
  QString name;
  {
    QTemporaryFile reserved(path + QStringLiteral(".XXXXXX"));
    if (!reserved.open()) return openFailure(path, reserved.errorString());
    reserved.setAutoRemove(false);
    name = reserved.fileName();
  }
  bool placed = false;
  const auto removeUnlessPlaced = qScopeGuard([&] {
    if (!placed) QFile::remove(name);
  });
  QFile temporary(name);
  if (!temporary.open(QIODevice::WriteOnly) || !writeContent(temporary))
    return writeFailure(path, temporary.errorString());
  temporary.close();
  if (temporary.error() != QFileDevice::NoError) return writeFailure(path, temporary.errorString());

  QString reason;
  switch (retryWhileBusy([&] { return replace(name, path, reason); }, wait)) {
    case Attempt::Done:
      placed = true;
      return {true, {}, {}, false};
    case Attempt::Busy:
      return {false, busyFileMessage(path, u"export"), {}, true};
    case Attempt::Failed:
      break;
  }
  return writeFailure(path, reason);
}

}  // namespace detail

// A rename would replace a device or other special file just as it replaces a regular one, so only regular files and
// new names are accepted as targets.
WriteResult writeFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& writeContent) {
  const QFileInfo target(path);
  if (target.isDir()) return detail::writeFailure(path, QStringLiteral("it is a folder"));
  if (target.exists() && !target.isFile())
    return detail::writeFailure(path, QStringLiteral("it is not a regular file"));
  return detail::writeThroughTemporaryFile(path, writeContent);
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
                       "Move the Skelvor folder to a folder you can write to, or install Skelvor with its installer.");
  if (option.isEmpty()) return cause + QStringLiteral("Choose a folder you can write to.");
  return cause + QStringLiteral("Choose a folder you can write to (%1).").arg(option);
}

QString busyFileCause(QStringView action) {
  return QStringLiteral(
             "another program has the file open. Close it there (or wait until that program is done with it), or "
             "choose another name, then %1 again.")
      .arg(action);
}

QString busyFileMessage(const QString& path, QStringView action) {
  return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), busyFileCause(action));
}

QString unwritableFolderMessage(const QString& folder, bool programFolder, QStringView option) {
  return QDir::toNativeSeparators(folder) + QStringLiteral(": ") + unwritableFolderCause(programFolder, option);
}

}  // namespace skelvor
