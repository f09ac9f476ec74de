#include "savefile.h"

#include "systemhints.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace skelvor {

namespace {

WriteResult writeFailure(const QString& path, const QString& reason) {
  return {false, QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason), {}};
}

// Passes what is written on to a file, and has the system start putting every half megabyte on the disk as soon as it
// is written, where it offers that (Linux), so that when the file is committed little is left to wait for.
class EarlyWriteback final : public QIODevice {
 public:
  explicit EarlyWriteback(QFileDevice& file) : file_(file) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    const qint64 written = file_.write(data, size);
    if (written < 0) {
      setErrorString(file_.errorString());
      return written;
    }
    constexpr qint64 kStep = qint64{1} << 19;
    pending_ += written;
    if (pending_ >= kStep && file_.flush()) {
      startWriteback(file_.handle(), started_, pending_);
      started_ += pending_;
      pending_ = 0;
    }
    return written;
  }

 private:
  QFileDevice& file_;
  qint64 started_ = 0;  // where the bytes not yet sent on their way start
  qint64 pending_ = 0;  // how many there are
};

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
  EarlyWriteback device(file);
  if (!writeContent(device)) {
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
