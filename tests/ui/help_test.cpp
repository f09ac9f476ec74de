#include "forvok.h"

#include "maker.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <memory>

using skelvor::ForVOK;

// The help buttons "Fr" and "En" and the maker's address, with the desktop replaced by a recorder of what it is
// asked to open.
class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  void helpButtonsOpenTheFirstMatchingDocument_data();
  void helpButtonsOpenTheFirstMatchingDocument();
  void keyboardOpensTheHelpToo_data();
  void keyboardOpensTheHelpToo();
  void makersAddressOpensTheMakersPage();
  void endStopsAHandlerThatWaitsOnEvents();

 private:
  // A program folder with these files and folders, and the window over it, whose openings land in `opened_`.
  std::unique_ptr<ForVOK> openWindow(const QStringList& files, const QStringList& folders = {});
  QString folderPath() const { return folder_->path(); }

  std::unique_ptr<QTemporaryDir> folder_;
  QList<QUrl> opened_;
};

std::unique_ptr<ForVOK> HelpTest::openWindow(const QStringList& files, const QStringList& folders) {
  folder_ = std::make_unique<QTemporaryDir>();
  opened_.clear();
  if (!folder_->isValid()) return nullptr;
  for (const QString& name : files) {
    QFile file(folder_->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write("%PDF-1.4\n") < 0) return nullptr;
  }
  for (const QString& name : folders)
    if (!QDir(folder_->path()).mkdir(name)) return nullptr;
  auto window = std::make_unique<ForVOK>(folder_->path());
  window->setOpener([this](const QUrl& url) {
    opened_ << url;
    return true;
  });
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
  return window;
}

void HelpTest::helpButtonsOpenTheFirstMatchingDocument_data() {
  QTest::addColumn<QStringList>("files");
  QTest::addColumn<QStringList>("folders");
  QTest::addColumn<QList<int>>("clicks");  // 0 is "Fr", 1 is "En"
  QTest::addColumn<QStringList>("expected");

  const QStringList both = {"Aide Skelvor.pdf", "Help Skelvor.pdf"};
  QTest::newRow("Fr opens the French document")
      << both << QStringList() << QList<int>{0} << QStringList{"Aide Skelvor.pdf"};
  QTest::newRow("En opens the English document")
      << both << QStringList() << QList<int>{1} << QStringList{"Help Skelvor.pdf"};
  QTest::newRow("En after Fr") << both << QStringList() << QList<int>{0, 1}
                               << QStringList{"Aide Skelvor.pdf", "Help Skelvor.pdf"};
  QTest::newRow("Fr after En") << both << QStringList() << QList<int>{1, 0}
                               << QStringList{"Help Skelvor.pdf", "Aide Skelvor.pdf"};
  QTest::newRow("the same button twice") << both << QStringList() << QList<int>{0, 0}
                                         << QStringList{"Aide Skelvor.pdf", "Aide Skelvor.pdf"};
  QTest::newRow("first in order, letter case ignored") << QStringList{"aide b.pdf", "Aide A.pdf", "Aide C.pdf"}
                                                       << QStringList() << QList<int>{0} << QStringList{"Aide A.pdf"};
  QTest::newRow("upper-case name") << QStringList{"AIDE.PDF"} << QStringList() << QList<int>{0}
                                   << QStringList{"AIDE.PDF"};
  QTest::newRow("lower-case name") << QStringList{"aide.pdf", "help.pdf"} << QStringList() << QList<int>{0, 1}
                                   << QStringList{"aide.pdf", "help.pdf"};
  QTest::newRow("no English document: En does nothing, Fr still works")
      << QStringList{"Aide.pdf"} << QStringList() << QList<int>{1, 0, 1} << QStringList{"Aide.pdf"};
  QTest::newRow("no help at all") << QStringList{"Manual.pdf", "notes.txt"} << QStringList() << QList<int>{0, 1}
                                  << QStringList();
  QTest::newRow("a text file is not a document")
      << QStringList{"Aide.txt", "Help.pdf.txt"} << QStringList() << QList<int>{0, 1} << QStringList();
  QTest::newRow("the name must begin with the letters")
      << QStringList{"Maide.pdf", "The help.pdf"} << QStringList() << QList<int>{0, 1} << QStringList();
  QTest::newRow("a folder is not a document")
      << QStringList() << QStringList{"Aide.pdf", "Help.pdf"} << QList<int>{0, 1} << QStringList();
  QTest::newRow("a folder first in order is passed over")
      << QStringList{"Aide B.pdf"} << QStringList{"Aide A.pdf"} << QList<int>{0} << QStringList{"Aide B.pdf"};
}

void HelpTest::helpButtonsOpenTheFirstMatchingDocument() {
  QFETCH(QStringList, files);
  QFETCH(QStringList, folders);
  QFETCH(QList<int>, clicks);
  QFETCH(QStringList, expected);
  const auto window = openWindow(files, folders);
  QVERIFY(window);

  for (int index : clicks) {
    auto* button = window->findChild<QToolButton*>(QStringLiteral("Command4_%1").arg(index));
    QVERIFY(button != nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
  }

  QList<QUrl> wanted;
  for (const QString& name : expected) wanted << QUrl::fromLocalFile(QDir(folderPath()).filePath(name));
  QCOMPARE(opened_, wanted);
}

void HelpTest::keyboardOpensTheHelpToo_data() {
  QTest::addColumn<int>("key");
  QTest::newRow("Space") << int(Qt::Key_Space);
  QTest::newRow("Enter") << int(Qt::Key_Return);
}

void HelpTest::keyboardOpensTheHelpToo() {
  QFETCH(int, key);
  const auto window = openWindow({"Help.pdf"});
  QVERIFY(window);
  auto* en = window->findChild<QToolButton*>(QStringLiteral("Command4_1"));
  en->setFocus();
  QTest::keyClick(en, Qt::Key(key));
  QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(QDir(folderPath()).filePath("Help.pdf"))});
}

void HelpTest::makersAddressOpensTheMakersPage() {
  const auto window = openWindow({"Aide.pdf", "Help.pdf"});
  QVERIFY(window);
  auto* label = window->findChild<QLabel*>(QStringLiteral("Label4"));
  QVERIFY(label != nullptr);

  for (const Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) QTest::mouseClick(label, other);
  QCOMPARE(opened_.size(), 0);
  QTest::mouseClick(label, Qt::LeftButton);

  QCOMPARE(opened_.size(), 1);
  const QUrl page = opened_.front();
  QCOMPARE(page, QUrl(QString::fromLatin1(skelvor::kMakerUrl)));
  QVERIFY(page.isValid());
  QCOMPARE(page.scheme(), QStringLiteral("https"));
  // The label shows the very host that the click opens.
  QCOMPARE(page.host(), label->text());
}

// A mouse click queued for `button`, as the window system hands it over while a handler is busy.
static void queueClick(QWidget* button) {
  const QPointF centre = QRectF(button->rect()).center();
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
    QCoreApplication::postEvent(
        button, new QMouseEvent(type, centre, button->mapToGlobal(centre), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
}

void HelpTest::endStopsAHandlerThatWaitsOnEvents() {
  const auto window = openWindow({"Aide.pdf", "Help.pdf"});
  QVERIFY(window);
  // "Fr" lets the waiting events run: among them a click on "End", then one on the maker's address.
  queueClick(window->findChild<QPushButton*>(QStringLiteral("Command3")));
  queueClick(window->findChild<QLabel*>(QStringLiteral("Label4")));
  QTest::mouseClick(window->findChild<QToolButton*>(QStringLiteral("Command4_0")), Qt::LeftButton);
  QVERIFY(!window->isVisible());
  QCOMPARE(opened_, QList<QUrl>());
}

QTEST_MAIN(HelpTest)
#include "help_test.moc"
