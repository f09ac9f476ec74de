#include "sortedlist.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

using skelvor::SortedList;

class SortedListTest : public QObject {
  Q_OBJECT

 private slots:
  // The locale comes from LANG, which each registration of the test pins.
  void initTestCase() { qInfo("Locale: %s", qPrintable(QLocale().name())); }
  void keepsItemsInOrderLetterCaseIgnored_data();
  void keepsItemsInOrderLetterCaseIgnored();
  void bulkFillGivesTheOrderOfAddingOneByOne();
  void addAndClearRaiseNoClick();
  void settingTextRaisesClickOnceAndRunsTheHandlerFirst();
  void settingTextPrefersTheExactCase_data();
  void settingTextPrefersTheExactCase();
  void settingTextWithoutMatchChangesNothing();
  void settingListIndexRaisesClick();
  void textReadsEmptyWithoutCurrentItem();
  void userClickAndArrowKeysRaiseClick();
  void takingTheFocusMakesNoItemCurrent();
  void mouseUpComesWithEveryButton();
  void selectedFlagsSurviveHiding();
  void selectedRangesReplaceTheSelection();
  void holdsMoreThan32767Items();
};

void SortedListTest::keepsItemsInOrderLetterCaseIgnored_data() {
  QTest::addColumn<QStringList>("added");
  QTest::addColumn<QStringList>("shown");
  QTest::newRow("codes") << QStringList{"LF", "ED", "EB"} << QStringList{"EB", "ED", "LF"};
  QTest::newRow("names") << QStringList{"Zambia", "france", "Finland", "Gabon"}
                         << QStringList{"Finland", "france", "Gabon", "Zambia"};
  QTest::newRow("case ties keep their order") << QStringList{"Fl", "FL", "EG"} << QStringList{"EG", "Fl", "FL"};
  QTest::newRow("prefix first") << QStringList{"Spain 01", "Spain", "Spain 02"}
                                << QStringList{"Spain", "Spain 01", "Spain 02"};
}

void SortedListTest::keepsItemsInOrderLetterCaseIgnored() {
  QFETCH(QStringList, added);
  QFETCH(QStringList, shown);
  SortedList list;
  for (const QString& item : added) list.AddItem(item);
  QCOMPARE(list.Items(), shown);
  QCOMPARE(list.ListCount(), shown.size());
}

void SortedListTest::bulkFillGivesTheOrderOfAddingOneByOne() {
  const QStringList rows = {"WP1 b",  "wp1 a", "ABC",   "abc",    "Ábc",   "Zulu",
                            "  lead", "x|1|2", "WP1 b", "éclair", "eclair"};
  SortedList oneByOne;
  for (const QString& row : rows) oneByOne.AddItem(row);
  SortedList bulk;
  bulk.SetItems(rows);
  QCOMPARE(bulk.Items(), oneByOne.Items());
}

void SortedListTest::addAndClearRaiseNoClick() {
  SortedList list;
  QSignalSpy clicks(&list, &SortedList::click);
  list.AddItem("LF");
  list.SetText("LF");
  QCOMPARE(clicks.count(), 1);
  list.AddItem("EB");  // lands before the current item
  list.SetItems({"A", "B"});
  list.Clear();
  QCOMPARE(clicks.count(), 1);
  QCOMPARE(list.ListIndex(), -1);
  QCOMPARE(list.Text(), QString());
}

void SortedListTest::settingTextRaisesClickOnceAndRunsTheHandlerFirst() {
  SortedList list;
  list.SetItems({"EB", "LF", "ED"});
  int runs = 0;
  QString seen;
  connect(&list, &SortedList::click, &list, [&] {
    ++runs;
    seen = list.Text();
  });
  list.SetText("lf");
  QCOMPARE(runs, 1);  // the handler ran to its end before the setter returned
  QCOMPARE(seen, QStringLiteral("LF"));
  QVERIFY(list.Selected(list.ListIndex()));
}

void SortedListTest::settingTextPrefersTheExactCase_data() {
  QTest::addColumn<QStringList>("items");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("current");
  QTest::newRow("Fl over FL") << QStringList{"FL", "Fl"} << "Fl"
                              << "Fl";
  QTest::newRow("FL over Fl") << QStringList{"Fl", "FL"} << "FL"
                              << "FL";
  QTest::newRow("else first ignoring case") << QStringList{"Fl", "FL"} << "fl"
                                            << "Fl";
  QTest::newRow("lf finds LF") << QStringList{"EB", "LF"} << "lf"
                               << "LF";
}

void SortedListTest::settingTextPrefersTheExactCase() {
  QFETCH(QStringList, items);
  QFETCH(QString, text);
  QFETCH(QString, current);
  SortedList list;
  for (const QString& item : items) list.AddItem(item);
  list.SetText(text);
  QCOMPARE(list.Text(), current);
}

void SortedListTest::settingTextWithoutMatchChangesNothing() {
  SortedList list;
  list.SetItems({"EB", "LF"});
  list.SetText("EB");
  QSignalSpy clicks(&list, &SortedList::click);
  list.SetText("XX");
  list.SetText("");
  list.SetText("LF ");
  QCOMPARE(clicks.count(), 0);
  QCOMPARE(list.Text(), QStringLiteral("EB"));
}

void SortedListTest::settingListIndexRaisesClick() {
  SortedList list;
  list.SetItems({"Finland", "France"});
  QSignalSpy clicks(&list, &SortedList::click);
  list.SetListIndex(1);
  QCOMPARE(clicks.count(), 1);
  QCOMPARE(list.Text(), QStringLiteral("France"));
  list.SetListIndex(1);  // making the current item current again raises Click again
  QCOMPARE(clicks.count(), 2);
  list.SetListIndex(2);
  list.SetListIndex(-1);
  QCOMPARE(clicks.count(), 2);
}

void SortedListTest::textReadsEmptyWithoutCurrentItem() {
  SortedList list;
  QCOMPARE(list.Text(), QString());
  list.AddItem("");
  list.SetText("");
  QCOMPARE(list.ListIndex(), 0);
  QCOMPARE(list.Text(), QString());
}

void SortedListTest::userClickAndArrowKeysRaiseClick() {
  SortedList list;
  list.resize(100, 200);
  list.SetItems({"EB", "ED", "LF"});
  list.show();
  QVERIFY(QTest::qWaitForWindowExposed(&list));
  QSignalSpy clicks(&list, &SortedList::click);
  const auto rowCentre = [&list](int row) { return list.visualRect(list.model()->index(row, 0)).center(); };
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCentre(1));
  QCOMPARE(clicks.count(), 1);
  QCOMPARE(list.Text(), QStringLiteral("ED"));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCentre(1));  // the current item picked again
  QCOMPARE(clicks.count(), 2);
  QTest::mouseClick(list.viewport(), Qt::RightButton, {}, rowCentre(0));  // only the left button picks
  QCOMPARE(clicks.count(), 2);
  QCOMPARE(list.Text(), QStringLiteral("ED"));
  QTest::keyClick(&list, Qt::Key_Down);
  QCOMPARE(clicks.count(), 3);
  QCOMPARE(list.Text(), QStringLiteral("LF"));
}

void SortedListTest::takingTheFocusMakesNoItemCurrent() {
  QWidget window;
  auto* before = new QWidget(&window);
  before->setFocusPolicy(Qt::StrongFocus);
  auto* list = new SortedList(&window);
  list->SetItems({"EB", "LF"});
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  before->setFocus();
  QSignalSpy clicks(list, &SortedList::click);
  QTest::keyClick(before, Qt::Key_Tab);
  QVERIFY(QTest::qWaitFor([list] { return list->hasFocus(); }));
  QCOMPARE(clicks.count(), 0);
  QCOMPARE(list->ListIndex(), -1);
  QTest::keyClick(list, Qt::Key_Down);
  QCOMPARE(list->Text(), QStringLiteral("EB"));
  QCOMPARE(clicks.count(), 1);
}

void SortedListTest::mouseUpComesWithEveryButton() {
  SortedList list;
  list.resize(100, 200);
  list.SetItems({"EB"});
  list.show();
  QVERIFY(QTest::qWaitForWindowExposed(&list));
  QSignalSpy ups(&list, &SortedList::mouseUp);
  QTest::mouseClick(list.viewport(), Qt::RightButton, {}, QPoint(10, 150));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 150));
  QCOMPARE(ups.count(), 2);
  QCOMPARE(ups.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
  QCOMPARE(ups.at(1).at(1).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
}

void SortedListTest::selectedFlagsSurviveHiding() {
  SortedList list;
  list.setSelectionMode(QAbstractItemView::ExtendedSelection);
  list.SetItems({"a", "b", "c"});
  list.show();
  list.SetSelected(0, true);
  list.SetSelected(2, true);
  list.hide();
  list.show();
  QVERIFY(list.Selected(0));
  QVERIFY(!list.Selected(1));
  QVERIFY(list.Selected(2));
}

void SortedListTest::selectedRangesReplaceTheSelection() {
  SortedList list;
  list.setSelectionMode(QAbstractItemView::ExtendedSelection);
  list.SetItems({"a", "b", "c", "d", "e"});
  list.SetSelected(1, true);
  list.SetSelectedRanges({{0, 0}, {3, 4}});
  const QList<bool> expected = {true, false, false, true, true};
  for (qsizetype i = 0; i < expected.size(); ++i) QCOMPARE(list.Selected(i), expected[i]);
  list.SetSelectedRanges({});
  for (qsizetype i = 0; i < expected.size(); ++i) QVERIFY(!list.Selected(i));
}

void SortedListTest::holdsMoreThan32767Items() {
  QStringList rows;
  for (int i = 0; i < 100000; ++i) rows << QStringLiteral("WP%1").arg(i, 6, 10, QLatin1Char('0'));
  SortedList list;
  list.setSelectionMode(QAbstractItemView::ExtendedSelection);
  list.SetItems(rows);
  QCOMPARE(list.ListCount(), 100000);
  QCOMPARE(list.List(99999), QStringLiteral("WP099999"));
  list.SetSelectedRanges({{0, 99999}});
  QVERIFY(list.Selected(40000));
  list.SetListIndex(70000);
  QCOMPARE(list.Text(), QStringLiteral("WP070000"));
}

QTEST_MAIN(SortedListTest)
#include "sortedlist_test.moc"
