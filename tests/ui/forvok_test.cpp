#include "forvok.h"

#include "filelist.h"
#include "hiddenfile.h"
#include "sortedlist.h"
#include "windowdriver.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>

using skelvor::FileList;
using skelvor::ForVOK;
using skelvor::SortedList;

class ForVOKTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void controlsStandInPlace_data();
  void controlsStandInPlace();
  void windowIsFixedWhiteAndTitled();
  void theFrameStandsInTheMiddleOfTheScreen();
  void everyTextReadsUnderADarkTheme();
  void tabOrderFollowsTheLayout();
  void startsWithTheFocusOnEnd();
  void enterOrSpaceOnEndClosesTheWindow_data();
  void enterOrSpaceOnEndClosesTheWindow();
  void gpxHeadAndFootAreExact();
  void fileListShowsTheFixFilesOfTheProgramFolder();
  void listsUseAFixedPitchFont();
  void helpButtonsShareThePicture();
  void territoryTableIsFilled();
  void aFailingHandlerReportsAndTheWindowGoesOn();
  void rendersToPng();

 private:
  QTemporaryDir folder_;
};

void ForVOKTest::initTestCase() {
  QVERIFY(folder_.isValid());
  for (const char* name : {"b.csv", "A.CSV", "c.Csv", "notes.txt", "Help.pdf"}) {
    QFile file(folder_.filePath(QString::fromLatin1(name)));
    QVERIFY(file.open(QIODevice::WriteOnly));
  }
  QVERIFY(skelvor::makeHiddenFile(folder_.filePath(QStringLiteral(".hidden.csv"))));
  QVERIFY(QDir(folder_.path()).mkdir(QStringLiteral("folder.csv")));
}

void ForVOKTest::controlsStandInPlace_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<bool>("shown");
  QTest::newRow("End") << "Command3" << QRect(472, 316, 89, 41) << "End" << true;
  QTest::newRow("File1") << "File1" << QRect(6, 10, 115, 41) << "" << true;
  QTest::newRow("ListPAYS") << "ListPAYS" << QRect(6, 82, 61, 249) << "" << true;
  QTest::newRow("ListResult") << "ListResult" << QRect(202, 80, 259, 249) << "" << true;
  QTest::newRow("Export") << "Command5" << QRect(472, 128, 89, 73) << "Show in PlanePlotter" << true;
  QTest::newRow("ListPAYSFull") << "ListPAYSFull" << QRect(72, 80, 125, 249) << "" << true;
  QTest::newRow("Text1") << "Text1" << QRect(202, 56, 97, 21) << "" << true;
  QTest::newRow("Find") << "Command1" << QRect(302, 56, 69, 21) << "Find" << true;
  QTest::newRow("Label2") << "Label2" << QRect(236, 332, 223, 15) << "" << true;
  QTest::newRow("Text2") << "Text2" << QRect(72, 56, 125, 21) << "" << true;
  QTest::newRow("Add") << "Check1" << QRect(468, 50, 91, 35) << "Add to actual File" << false;
  QTest::newRow("Select All") << "Command2" << QRect(382, 56, 69, 21) << "Select All" << true;
  QTest::newRow("File2") << "File2" << QRect(566, 244, 91, 32) << "" << false;
  QTest::newRow("Save as") << "Label3" << QRect(476, 94, 87, 13) << "Save as..." << true;
  QTest::newRow("Text3") << "Text3" << QRect(472, 110, 89, 17) << "VOK" << true;
  QTest::newRow("Label4") << "Label4" << QRect(428, 6, 127, 15) << "skelvor.example.org" << true;
  QTest::newRow("Fr") << "Command4_0" << QRect(472, 238, 45, 63) << "Fr" << true;
  QTest::newRow("En") << "Command4_1" << QRect(516, 238, 45, 63) << "En" << true;
  QTest::newRow("Keep") << "Check2" << QRect(6, 336, 223, 21) << "Keep selected" << true;
}

static QString captionOf(const QWidget* control) {
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
  return {};
}

void ForVOKTest::controlsStandInPlace() {
  QFETCH(QString, name);
  QFETCH(QRect, geometry);
  QFETCH(QString, caption);
  QFETCH(bool, shown);
  ForVOK window(folder_.path());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  auto* control = window.findChild<QWidget*>(name);
  QVERIFY2(control != nullptr, qPrintable(name));
  QCOMPARE(control->geometry(), geometry);
  QCOMPARE(captionOf(control), caption);
  QCOMPARE(control->isVisible(), shown);
  QVERIFY(control->isEnabled());
}

void ForVOKTest::windowIsFixedWhiteAndTitled() {
  ForVOK window(folder_.path());
  QCOMPARE(window.objectName(), QStringLiteral("ForVOK"));
  QCOMPARE(window.windowTitle(), QStringLiteral("Skelvor"));
  QCOMPARE(window.minimumSize(), QSize(569, 359));
  QCOMPARE(window.maximumSize(), QSize(569, 359));
  QCOMPARE(window.palette().color(QPalette::Window), QColor(Qt::white));
  // A title bar with the close box only; Windows shows that box only with the system menu.
  QCOMPARE(window.windowFlags(), Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                     Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  QVERIFY(!window.windowIcon().isNull());
  QCOMPARE(window.findChild<QLabel*>("Label4")->palette().color(QPalette::WindowText), QColor(192, 192, 192));
}

void ForVOKTest::theFrameStandsInTheMiddleOfTheScreen() {
  ForVOK window(folder_.path());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const QRect frame = window.frameGeometry();
  QVERIFY(frame.height() > window.height());  // the headless desktop draws a frame too
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QVERIFY(qAbs((frame.left() - screen.left()) - (screen.right() - frame.right())) <= 1);
  QVERIFY(qAbs((frame.top() - screen.top()) - (screen.bottom() - frame.bottom())) <= 1);
}

// The contrast ratio of two colours as readability guidelines define it: 1 for equal colours, 21 for black on white.
static double contrast(const QColor& a, const QColor& b) {
  const auto luminance = [](const QColor& colour) {
    const auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
  };
  const double first = luminance(a);
  const double second = luminance(b);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

static QPalette darkPalette() {
  QPalette dark;
  for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase})
    dark.setColor(role, QColor(40, 40, 40));
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
    dark.setColor(role, QColor(235, 235, 235));
  return dark;
}

void ForVOKTest::everyTextReadsUnderADarkTheme() {
  const QPalette system = QApplication::palette();
  const auto restore = qScopeGuard([&] { QApplication::setPalette(system); });
  QApplication::setPalette(darkPalette());
  ForVOK window(folder_.path());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QCOMPARE(window.palette().color(QPalette::Window), QColor(Qt::white));
  for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control->objectName() == QStringLiteral("Label4")) continue;  // light grey by design
    // A list shows its items on its viewport.
    const auto* list = qobject_cast<QAbstractScrollArea*>(control);
    const QWidget* surface = list != nullptr ? list->viewport() : control;
    const QColor text = surface->palette().color(surface->foregroundRole());
    const QColor background = surface->palette().color(surface->backgroundRole());
    QVERIFY2(contrast(text, background) >= 4.5,
             qPrintable(QStringLiteral("%1: %2 on %3").arg(control->objectName(), text.name(), background.name())));
  }
}

void ForVOKTest::tabOrderFollowsTheLayout() {
  ForVOK window(folder_.path());
  window.findChild<QCheckBox*>("Check1")->show();
  window.findChild<FileList*>("File2")->show();
  const QStringList expected = {"Command3", "File1",      "ListPAYS",   "ListResult", "Command5", "ListPAYSFull",
                                "Text1",    "Command1",   "Text2",      "Check1",     "Command2", "File2",
                                "Text3",    "Command4_0", "Command4_1", "Check2",     "Command3"};
  QWidget* control = window.findChild<QWidget*>("Command3");
  for (qsizetype i = 1; i < expected.size(); ++i) {
    control = control->nextInFocusChain();
    while (control->focusPolicy() == Qt::NoFocus || control->parentWidget() != &window)
      control = control->nextInFocusChain();
    QCOMPARE(control->objectName(), expected[i]);
  }
}

void ForVOKTest::startsWithTheFocusOnEnd() {
  ForVOK window(folder_.path());
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command3"));
}

void ForVOKTest::enterOrSpaceOnEndClosesTheWindow_data() {
  QTest::addColumn<int>("key");
  QTest::newRow("Enter") << int(Qt::Key_Return);
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
  QTest::newRow("Space") << int(Qt::Key_Space);
}

void ForVOKTest::enterOrSpaceOnEndClosesTheWindow() {
  QFETCH(int, key);
  ForVOK window(folder_.path());
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
  QVERIFY(QTest::qWaitFor([&window] { return !window.isVisible(); }));
}

void ForVOKTest::gpxHeadAndFootAreExact() {
  ForVOK window(folder_.path());
  const QByteArray head = window.VOK().TETE().toLatin1();
  QVERIFY(head.startsWith("<?xml version=\"1.0\"?>\r\n<gpx creator=\"GPS Visualizer https://skelvor.example.org/\" "));
  QVERIFY(head.endsWith(
      " version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/0 http://www.topografix.com/GPX/1/0/gpx.xsd\">"));
  QCOMPARE(head.count("\r\n"), 1);
  QCOMPARE(window.VOK().FION(), QStringLiteral("</gpx>"));
  QVERIFY(window.VOK().CORPS().isEmpty());
}

void ForVOKTest::fileListShowsTheFixFilesOfTheProgramFolder() {
  ForVOK window(folder_.path());
  auto* file1 = window.findChild<FileList*>("File1");
  QCOMPARE(file1->Path(), folder_.path());
  QStringList shown;
  for (qsizetype i = 0; i < file1->ListCount(); ++i) shown << file1->List(i);
  QCOMPARE(shown, QStringList({"A.CSV", "b.csv", "c.Csv"}));
  QCOMPARE(file1->FileName(), QString());
  auto* file2 = window.findChild<FileList*>("File2");
  QCOMPARE(file2->ListCount(), 1);
  QCOMPARE(file2->List(0), QStringLiteral("Help.pdf"));
}

void ForVOKTest::listsUseAFixedPitchFont() {
  ForVOK window(folder_.path());
  for (const char* name : {"ListPAYS", "ListPAYSFull", "ListResult"}) {
    const QFont font = window.findChild<SortedList*>(name)->font();
    QCOMPARE(font.pointSizeF(), 8.25);
    const QFontMetrics metrics(font);
    QVERIFY2(metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W')), name);
  }
  QCOMPARE(window.findChild<SortedList*>("ListResult")->selectionMode(), QAbstractItemView::ExtendedSelection);
  QCOMPARE(window.findChild<SortedList*>("ListPAYS")->selectionMode(), QAbstractItemView::SingleSelection);
}

void ForVOKTest::helpButtonsShareThePicture() {
  ForVOK window(folder_.path());
  const auto* fr = window.findChild<QToolButton*>("Command4_0");
  const auto* en = window.findChild<QToolButton*>("Command4_1");
  QCOMPARE(fr->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  QVERIFY(!fr->icon().isNull());
  QCOMPARE(en->icon().cacheKey(), fr->icon().cacheKey());
  QCOMPARE(fr->icon().pixmap(30, 30).size(), QSize(30, 30));
}

void ForVOKTest::territoryTableIsFilled() {
  ForVOK window(folder_.path());
  QVERIFY(window.TERR()[0].isEmpty());
  QCOMPARE(window.TERR()[38], QStringLiteral("Fl|Mauritius"));
  QCOMPARE(window.TERR()[246], QStringLiteral("CY|Canada"));
  QCOMPARE(window.TERR()[skelvor::kLastTerritorySlot], QStringLiteral("ZZ|China ZZ"));
}

void ForVOKTest::aFailingHandlerReportsAndTheWindowGoesOn() {
  WindowDriver ui;
  ui.window().setOpener([](const QUrl&) -> bool { throw std::runtime_error("the desktop has no web browser"); });
  const QString message =
      WindowDriver::acceptMessageBox([&] { QTest::mouseClick(ui.label("Label4"), Qt::LeftButton); });
  QVERIFY2(message.contains("opening the web page") && message.contains("the desktop has no web browser"),
           qPrintable(message));
  QVERIFY(ui.window().isVisible());
  ui.addFile("My Waypoints.csv", crlf({"ABLAN;LF;45.18;5.28"}));
  ui.clickFile("My Waypoints.csv");
  ui.clickCode("LF");
  QCOMPARE(ui.count(), QStringLiteral("1 objects"));
}

void ForVOKTest::rendersToPng() {
  // Set SKELVOR_SCREENSHOT to a file path to look at the window in use, under the system's palette; the same path
  // with "-dark" before its extension shows it under a dark palette.
  const QString target = qEnvironmentVariable("SKELVOR_SCREENSHOT");
  if (target.isEmpty()) QSKIP("SKELVOR_SCREENSHOT is not set");
  const QPalette system = QApplication::palette();
  const auto restore = qScopeGuard([&] { QApplication::setPalette(system); });
  const QFileInfo light(target);
  for (const bool dark : {false, true}) {
    QApplication::setPalette(dark ? darkPalette() : system);
    WindowDriver ui;
    ui.addFile("My Waypoints.csv", crlf({"ABLAN;LF;45.18;5.28", "BAGNA;LF;47.05;2.90", "KAFUE;FL;-15.68;28.18"}));
    ui.clickFile("My Waypoints.csv");
    ui.clickName("France");
    WindowDriver::clickRow(ui.sorted("ListResult"), 1);
    ui.check("Check1")->show();
    QTest::keyClicks(ui.edit("Text1"), "ABL");
    const QString path = dark ? light.dir().filePath(light.completeBaseName() + "-dark." + light.suffix()) : target;
    QVERIFY(ui.window().grab().save(path));
  }
}

QTEST_MAIN(ForVOKTest)
#include "forvok_test.moc"
