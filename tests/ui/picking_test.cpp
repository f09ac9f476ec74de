#include "windowdriver.h"

#include <QGuiApplication>
#include <QLocale>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

const QString kSpaces(120, u' ');

const QStringList kNavaids = {"VOR;LF;BTZ;x;43.47;-1.52;x;x;x;BIARRITZ", "NDB;EG;WLN;x;52.60;-1.02;x;x;x;WELLINGHAM",
                              "VOR;FL;LSK;x;-15.32;28.44;x;x;x;LUSAKA",  "NDB;Fl;PLS;x;-20.30;57.61;x;x;x;PLAISANCE",
                              "DME;LF;CRV;x;49.48;0.15;x;x;x;CARVILLE",  "VOR;XX;TST;x;10.00;10.00;x;x;x;TEST",
                              "VOR;EF;HLK;x;60.31;24.95;x;x;x;HALIKKO",  "VOR;FO;LBV;x;0.45;9.41;x;x;x;LIBREVILLE"};

}  // namespace

class PickingTest : public QObject {
  Q_OBJECT

 private slots:
  // The locale comes from LANG, which each registration of the test pins.
  void initTestCase() { qInfo("Locale: %s", qPrintable(QLocale().name())); }
  void clickingAFileListsItsCountries();
  void pickingACodeListsItsFixes();
  void pickingTheShownCountryAgainStartsTheListAfresh();
  void pickingANameSelectsItsCode();
  void typingFindsANameByItsFirstLetters_data();
  void typingFindsANameByItsFirstLetters();
  void clearingTheTypedTextPicksTheFirstName();
  void mauritiusAndZambiaStayApart();
  void arrowKeysInTheCodesLeaveTheNamesAlone();
  void aHighlightedButStaleNameCanBePickedAgain();
  void onlyTheLeftButtonPicksAndSelects();
  void namesFromDataAreShownAsTheyStand();
  void aCodeWithoutNameKeepsTheNameList();
  void keepSelectedPicksTheCountryInTheNextFile();
  void keepSelectedKeepsTheRowsWhenTheCodeIsMissing();
  void aNameWithoutKindWordKeepsTheKind();
  void lineEndsOfEveryKindLoad();
  void windows1252NamesLoadIntact();
  void aHundredThousandFixesFillAndScroll();
};

void PickingTest::clickingAFileListsItsCountries() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  QCOMPARE(ui.sorted("ListPAYS")->Items(), QStringList({"EF", "EG", "FL", "Fl", "FO", "LF", "XX"}));
  QCOMPARE(ui.sorted("ListPAYSFull")->Items(),
           QStringList({"Finland", "France", "Gabon", "Mauritius", "United Kingdom", "Zambia"}));
  QCOMPARE(ui.list<skelvor::FileList>("File1")->Tag(), QStringLiteral("NAV"));
  QCOMPARE(ui.sorted("ListPAYS")->ListIndex(), -1);
  QVERIFY(ui.rows().isEmpty());
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void PickingTest::pickingACodeListsItsFixes() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  ui.clickCode("LF");
  QCOMPARE(ui.rows(), QStringList({"BTZ (VOR) BIARRITZ" + kSpaces + "|43.47|-1.52",
                                   "CRV (DME) CARVILLE" + kSpaces + "|49.48|0.15"}));
  QCOMPARE(ui.count(), QStringLiteral("2 objects"));
  QCOMPARE(ui.tagOf("Label2"), QStringLiteral("2"));
  QCOMPARE(ui.tagOf("Check2"), QStringLiteral("LF"));
  QCOMPARE(ui.sorted("ListPAYSFull")->Text(), QStringLiteral("France"));
  QCOMPARE(ui.check("Check2")->text(), QStringLiteral("Keep France selected"));
}

void PickingTest::pickingTheShownCountryAgainStartsTheListAfresh() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  ui.clickCode("LF");
  const QStringList rows = ui.rows();
  skelvor::SortedList* result = ui.sorted("ListResult");
  result->SetSelected(1, true);
  ui.clickCode("LF");
  QCOMPARE(ui.rows(), rows);
  QCOMPARE(result->SelectedFlags(), std::vector<bool>({false, false}));
  QCOMPARE(result->ListIndex(), -1);
  QCOMPARE(ui.count(), QStringLiteral("2 objects"));
}

void PickingTest::pickingANameSelectsItsCode() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  ui.clickName("United Kingdom");
  QCOMPARE(ui.sorted("ListPAYS")->Text(), QStringLiteral("EG"));
  QCOMPARE(ui.visibleRows(), QStringList({"WLN (NDB) WELLINGHAM"}));
  QCOMPARE(ui.check("Check2")->text(), QStringLiteral("Keep United Kingdom selected"));
  QCOMPARE(ui.count(), QStringLiteral("1 objects"));
}

void PickingTest::typingFindsANameByItsFirstLetters_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("name");
  QTest::newRow("f") << "f"
                     << "Finland";
  QTest::newRow("fr") << "fr"
                      << "France";
  QTest::newRow("frx keeps France") << "frx"
                                    << "France";
  QTest::newRow("fR") << "fR"
                      << "France";
  QTest::newRow("longer than every name") << "zambia and more"
                                          << "Zambia";
}

void PickingTest::typingFindsANameByItsFirstLetters() {
  QFETCH(QString, typed);
  QFETCH(QString, name);
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  ui.typeCountry(typed);
  QCOMPARE(ui.sorted("ListPAYSFull")->Text(), name);
  const auto code = skelvor::countryCode(ui.window().TERR(), name);
  QCOMPARE(ui.sorted("ListPAYS")->Text(), *code);
  QCOMPARE(ui.check("Check2")->text(), "Keep " + name + " selected");
}

void PickingTest::clearingTheTypedTextPicksTheFirstName() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  ui.typeCountry("ga");
  QCOMPARE(ui.sorted("ListPAYSFull")->Text(), QStringLiteral("Gabon"));
  QTest::keyClick(ui.edit("Text2"), Qt::Key_Backspace);
  QTest::keyClick(ui.edit("Text2"), Qt::Key_Backspace);
  QCOMPARE(ui.sorted("ListPAYSFull")->Text(), QStringLiteral("Finland"));
  QCOMPARE(ui.visibleRows(), QStringList({"HLK (VOR) HALIKKO"}));
}

void PickingTest::mauritiusAndZambiaStayApart() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  ui.clickCode("Fl");
  QCOMPARE(ui.sorted("ListPAYSFull")->Text(), QStringLiteral("Mauritius"));
  QCOMPARE(ui.check("Check2")->text(), QStringLiteral("Keep Mauritius selected"));
  QCOMPARE(ui.visibleRows(), QStringList({"PLS (NDB) PLAISANCE"}));
  ui.clickName("Zambia");
  QCOMPARE(ui.sorted("ListPAYS")->Text(), QStringLiteral("FL"));
  QCOMPARE(ui.visibleRows(), QStringList({"LSK (VOR) LUSAKA"}));
  ui.clickName("Mauritius");
  QCOMPARE(ui.sorted("ListPAYS")->Text(), QStringLiteral("Fl"));
  ui.clickCode("FL");
  QCOMPARE(ui.sorted("ListPAYSFull")->Text(), QStringLiteral("Zambia"));
}

void PickingTest::arrowKeysInTheCodesLeaveTheNamesAlone() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  ui.clickCode("EF");
  QTest::keyClick(ui.sorted("ListPAYS"), Qt::Key_Down);
  QCOMPARE(ui.sorted("ListPAYS")->Text(), QStringLiteral("EG"));
  QCOMPARE(ui.visibleRows(), QStringList({"WLN (NDB) WELLINGHAM"}));
  QCOMPARE(ui.sorted("ListPAYSFull")->Text(), QStringLiteral("Finland"));
  QCOMPARE(ui.check("Check2")->text(), QStringLiteral("Keep Finland selected"));
  QCOMPARE(ui.tagOf("Check2"), QStringLiteral("EG"));
}

void PickingTest::aHighlightedButStaleNameCanBePickedAgain() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  ui.clickCode("EF");
  QTest::keyClick(ui.sorted("ListPAYS"), Qt::Key_Down);  // EG, while the names stay on Finland
  ui.clickName("Finland");
  QCOMPARE(ui.sorted("ListPAYS")->Text(), QStringLiteral("EF"));
  QCOMPARE(ui.visibleRows(), QStringList({"HLK (VOR) HALIKKO"}));
  ui.clickCode("LF");
  ui.clickCode("XX");  // the table lacks XX: the names stay on France
  ui.clickName("France");
  QCOMPARE(ui.sorted("ListPAYS")->Text(), QStringLiteral("LF"));
  QCOMPARE(ui.count(), QStringLiteral("2 objects"));
  QCOMPARE(ui.tagOf("Check2"), QStringLiteral("LF"));
}

void PickingTest::onlyTheLeftButtonPicksAndSelects() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.addFile("My Waypoints.csv", crlf({"ABLAN;LF;45.18;5.28", "BAGNA;LF;47.05;2.90", "DELOG;LF;46.20;1.10"}));
  auto* codes = ui.sorted("ListPAYS");
  auto* names = ui.sorted("ListPAYSFull");
  ui.clickFile("My Navaids.csv");
  ui.clickCode("EF");
  QTest::keyClick(codes, Qt::Key_Down);  // EG, while the names stay on Finland
  // Releasing the right button over the codes brings the names to the current code, which stays.
  WindowDriver::clickRow(codes, codes->Items().indexOf("LF"), Qt::RightButton);
  QCOMPARE(codes->Text(), QStringLiteral("EG"));
  QCOMPARE(names->Text(), QStringLiteral("United Kingdom"));
  WindowDriver::clickRow(names, names->Items().indexOf("France"), Qt::RightButton);
  QCOMPARE(names->Text(), QStringLiteral("United Kingdom"));
  QCOMPARE(ui.visibleRows(), QStringList({"WLN (NDB) WELLINGHAM"}));

  ui.clickFile("My Waypoints.csv");
  ui.clickCode("LF");
  auto* results = ui.sorted("ListResult");
  WindowDriver::clickRow(results, 0);
  WindowDriver::clickRow(results, 1, Qt::LeftButton, Qt::ControlModifier);
  WindowDriver::clickRow(results, 2, Qt::RightButton);
  QCOMPARE(results->SelectedFlags(), std::vector<bool>({true, true, false}));
}

void PickingTest::namesFromDataAreShownAsTheyStand() {
  WindowDriver ui;
  const QString file = "Pacific Waypoints Of The Southern Islands.csv";
  ui.addFile(file, crlf({"NOUMA;NL;-22.27;166.44", "WALIS;NL;-13.28;-176.17"}));
  ui.clickFile(file);
  ui.clickName("New Caledonia & Wallis and Futuna 01");
  QCOMPARE(ui.count(), QStringLiteral("2 objects"));
  // The ampersand is shown, and makes no access key.
  QCOMPARE(ui.check("Check2")->text(), QStringLiteral("Keep New Caledonia && Wallis and Futuna 01 selected"));
  QVERIFY(ui.check("Check2")->shortcut().isEmpty());
  // Every list cuts what is too long, without an ellipsis or a horizontal scroll bar.
  for (const char* name : {"File1", "ListPAYS", "ListPAYSFull", "ListResult"}) {
    auto* list = ui.list<QAbstractItemView>(name);
    QVERIFY2(!list->horizontalScrollBar()->isVisible(), name);
    QCOMPARE(list->textElideMode(), Qt::ElideNone);
  }
}

void PickingTest::aCodeWithoutNameKeepsTheNameList() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.clickFile("My Navaids.csv");
  ui.clickCode("LF");
  ui.clickCode("XX");
  QCOMPARE(ui.visibleRows(), QStringList({"TST (VOR) TEST"}));
  QCOMPARE(ui.sorted("ListPAYSFull")->Text(), QStringLiteral("France"));
  QCOMPARE(ui.check("Check2")->text(), QStringLiteral("Keep France selected"));
  QCOMPARE(ui.tagOf("Check2"), QStringLiteral("XX"));
}

void PickingTest::keepSelectedPicksTheCountryInTheNextFile() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.addFile("My Waypoints.csv", crlf({"ABLAN;LF;45.18;5.28", "KAFUE;FL;-15.68;28.18", "PAMPL;Fl;-20.19;57.55"}));
  ui.clickFile("My Navaids.csv");
  ui.clickCode("Fl");
  ui.clickFile("My Waypoints.csv");  // not ticked: the file holds Fl, but nothing is picked
  QCOMPARE(ui.sorted("ListPAYS")->ListIndex(), -1);
  QCOMPARE(ui.visibleRows(), QStringList({"PLS (NDB) PLAISANCE"}));
  ui.check("Check2")->click();
  ui.clickFile("My Waypoints.csv");
  QCOMPARE(ui.sorted("ListPAYS")->Text(), QStringLiteral("Fl"));
  QCOMPARE(ui.rows(), QStringList({"PAMPL" + kSpaces + "|-20.19|57.55"}));
  QCOMPARE(ui.sorted("ListPAYSFull")->ListIndex(), -1);
  QCOMPARE(ui.check("Check2")->text(), QStringLiteral("Keep Mauritius selected"));
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void PickingTest::keepSelectedKeepsTheRowsWhenTheCodeIsMissing() {
  WindowDriver ui;
  ui.addFile("My Navaids.csv", crlf(kNavaids));
  ui.addFile("Other Waypoints.csv", crlf({"ABLAN;LF;45.18;5.28"}));
  ui.clickFile("My Navaids.csv");
  ui.clickCode("EG");
  ui.clickFile("Other Waypoints.csv");  // not ticked: nothing is picked
  QCOMPARE(ui.sorted("ListPAYS")->ListIndex(), -1);
  QCOMPARE(ui.visibleRows(), QStringList({"WLN (NDB) WELLINGHAM"}));
  ui.check("Check2")->click();
  ui.clickFile("Other Waypoints.csv");  // ticked, but the file has no EG
  QCOMPARE(ui.sorted("ListPAYS")->ListIndex(), -1);
  QCOMPARE(ui.visibleRows(), QStringList({"WLN (NDB) WELLINGHAM"}));
  QCOMPARE(ui.count(), QStringLiteral("1 objects"));
}

void PickingTest::aNameWithoutKindWordKeepsTheKind() {
  WindowDriver ui;
  ui.addFile("plain.csv", crlf({"ABLAN;LF;45.18;5.28"}));
  ui.addFile("My Waypoints.csv", crlf({"BAGNA;LF;47.05;2.90"}));
  ui.clickFile("plain.csv");
  QCOMPARE(ui.list<skelvor::FileList>("File1")->Tag(), QString());
  ui.clickCode("LF");
  QCOMPARE(ui.count(), QStringLiteral("0 objects"));
  QCOMPARE(ui.tagOf("Label2"), QStringLiteral("0"));
  ui.clickFile("My Waypoints.csv");
  ui.clickFile("plain.csv");
  QCOMPARE(ui.list<skelvor::FileList>("File1")->Tag(), QStringLiteral("WPT"));
  ui.clickCode("LF");
  QCOMPARE(ui.visibleRows(), QStringList({"ABLAN"}));
}

void PickingTest::lineEndsOfEveryKindLoad() {
  WindowDriver ui;
  ui.addFile("LF Waypoints.csv", "ABLAN;LF;45.18;5.28\nBAGNA;LF;47.05;2.90\nARNOD;EG;51.87;-1.92");
  ui.addFile("CR Waypoints.csv", "ABLAN;LF;45.18;5.28\rARNOD;EG;51.87;-1.92\r");
  ui.clickFile("LF Waypoints.csv");
  QCOMPARE(ui.sorted("ListPAYS")->Items(), QStringList({"EG", "LF"}));
  ui.clickCode("LF");
  QCOMPARE(ui.visibleRows(), QStringList({"ABLAN", "BAGNA"}));
  ui.clickCode("EG");  // the last line has no line end and counts all the same
  QCOMPARE(ui.rows(), QStringList({"ARNOD" + kSpaces + "|51.87|-1.92"}));
  ui.clickFile("CR Waypoints.csv");
  QCOMPARE(ui.sorted("ListPAYS")->Items(), QStringList({"EG", "LF"}));
}

void PickingTest::windows1252NamesLoadIntact() {
  WindowDriver ui;
  ui.addFile("Old Airports.csv", QByteArray("LFMH;LF;A;EBU;45.54;4.29;x;x;Saint-\xC9tienne Bouth\xE9on\r\n"
                                            "LFXY;LF;A;;45.00;4.00;x;x;Caf\xE9 \x80 Field\r\n"));
  ui.clickFile("Old Airports.csv");
  ui.clickCode("LF");
  QCOMPARE(ui.visibleRows(), QStringList({QStringLiteral("LFMH (EBU) Saint-\u00C9tienne Bouth\u00E9on"),
                                          QStringLiteral("LFXY  ---  Caf\u00E9 \u20AC Field")}));
}

void PickingTest::aHundredThousandFixesFillAndScroll() {
  WindowDriver ui;
  ui.addFile("Big Waypoints.csv", frenchWaypoints(100000));
  ui.clickFile("Big Waypoints.csv");
  ui.clickCode("LF");
  QCOMPARE(ui.count(), QStringLiteral("100000 objects"));
  QCOMPARE(ui.tagOf("Label2"), QStringLiteral("100000"));
  auto* results = ui.sorted("ListResult");
  results->scrollToBottom();
  const auto lastRowShown = [results] {
    const QRect lastRow = results->visualRect(results->model()->index(99999, 0));
    return results->viewport()->rect().contains(QRect(lastRow.topLeft(), QSize(1, lastRow.height())));
  };
  QVERIFY(QTest::qWaitFor(lastRowShown));
  QCOMPARE(results->List(99999).left(7), QStringLiteral("W099999"));
}

QTEST_MAIN(PickingTest)
#include "picking_test.moc"
