#pragma once

// Drives the real window as a user would, headless: clicks files, codes and names, types, reads what it shows.
#include "appservices.h"
#include "filelist.h"
#include "forvok.h"
#include "sortedlist.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// The validator's complaint about a GPX file, or empty when the GPX 1.0 schema accepts it. A Windows program cannot
// start xmllint under Wine: there the Windows programs' files are validated from Linux by tests/windows instead.
inline QString schemaComplaint(const QString& path) {
#ifdef Q_OS_WIN
  static_cast<void>(path);
  return {};
#else
  QProcess xmllint;
  xmllint.start(QStringLiteral("xmllint"), {"--noout", "--nonet", "--schema", SKELVOR_GPX10_SCHEMA, path});
  if (!xmllint.waitForFinished(60000)) return QStringLiteral("xmllint did not finish: ") + xmllint.errorString();
  if (xmllint.exitStatus() != QProcess::NormalExit || xmllint.exitCode() != 0)
    return QString::fromUtf8(xmllint.readAllStandardError());
  return {};
#endif
}

/// The text of a fix file: the lines, each ended by CR LF, in UTF-8.
inline QByteArray crlf(const QStringList& lines) { return (lines.join(QStringLiteral("\r\n")) + "\r\n").toUtf8(); }

/// A waypoints file of `count` fixes, all of France, named W000000 upwards.
inline QByteArray frenchWaypoints(int count) {
  QByteArray text;
  for (int i = 0; i < count; ++i) text += QStringLiteral("W%1;LF;45.0;5.0\r\n").arg(i, 6, 10, QChar(u'0')).toLatin1();
  return text;
}

class WindowDriver {
 public:
  WindowDriver() : window_(std::make_unique<skelvor::ForVOK>(folder_.path())) {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  /// Writes a file of the program folder byte for byte and lists it.
  static void writeFile(const QString& folder, const QString& name, const QByteArray& bytes) {
    QFile file(QDir(folder).filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
  }
  void addFile(const QString& name, const QByteArray& bytes) {
    writeFile(folder_.path(), name, bytes);
    list<skelvor::FileList>("File1")->Refresh();
  }

  template <typename T>
  T* list(const char* name) const {
    return window_->findChild<T*>(QLatin1String(name));
  }
  skelvor::SortedList* sorted(const char* name) const { return list<skelvor::SortedList>(name); }
  QLineEdit* edit(const char* name) const { return list<QLineEdit>(name); }
  QCheckBox* check(const char* name) const { return list<QCheckBox>(name); }
  QLabel* label(const char* name) const { return list<QLabel>(name); }
  QPushButton* button(const char* name) const { return list<QPushButton>(name); }
  skelvor::ForVOK& window() const { return *window_; }
  QString folder() const { return folder_.path(); }

  /// Clicks a row of a list with the mouse, scrolling it into view first.
  static void clickRow(QAbstractItemView* view, qsizetype row, Qt::MouseButton button = Qt::LeftButton,
                       Qt::KeyboardModifiers modifiers = {}) {
    const QModelIndex index = view->model()->index(static_cast<int>(row), 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), button, modifiers, view->visualRect(index).center());
  }

  void clickFile(const QString& name) {
    auto* files = list<skelvor::FileList>("File1");
    for (qsizetype i = 0; i < files->ListCount(); ++i)
      if (files->List(i) == name) return clickRow(files, i);
    QFAIL(qPrintable(QStringLiteral("no file %1 listed").arg(name)));
  }

  static void clickItem(skelvor::SortedList* items, const QString& text) {
    const qsizetype row = items->Items().indexOf(text);
    QVERIFY2(row >= 0, qPrintable(text));
    clickRow(items, row);
  }
  void clickCode(const QString& code) { clickItem(sorted("ListPAYS"), code); }
  void clickName(const QString& name) { clickItem(sorted("ListPAYSFull"), name); }

  void typeCountry(const QString& text) {
    QLineEdit* box = edit("Text2");
    box->setFocus();
    QTest::keyClicks(box, text);
  }

  QStringList rows() const {
    QStringList shown;
    for (qsizetype i = 0; i < sorted("ListResult")->ListCount(); ++i) shown.append(sorted("ListResult")->List(i));
    return shown;
  }
  QStringList visibleRows() const {
    QStringList shown;
    for (const QString& row : rows()) shown << row.left(row.indexOf(QString(120, u' ')));
    return shown;
  }
  QString count() const { return label("Label2")->text(); }
  QString tagOf(const char* name) const { return skelvor::tagOf(list<QObject>(name)); }

  /// Runs `action` and closes the message box it opens; returns the box's text, or empty when none came.
  static QString acceptMessageBox(const std::function<void()>& action) {
    QString text;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        text = box->text();
        box->accept();
      }
    });
    closer.start(10);
    action();
    return text;
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<skelvor::ForVOK> window_;
};
