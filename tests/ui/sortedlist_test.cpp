#include "sortedlist.h"

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

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
  void selectsAsTheUserAsks_data();
  void selectsAsTheUserAsks();
  void drawsTheSelectedRowsAsSelected();
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

void SortedListTest::selectsAsTheUserAsks_data() {
  QTest::addColumn<QString>("gestures");
  QTest::addColumn<QString>("selected");
  // Gestures on a list of eight rows, each a word and its rows or key: click, ctrl, shift and ctrlshift click a row
  // with those keys held; right clicks it with the right button; key, shiftkey and ctrlkey press a key; drag and
  // ctrldrag press a row and move over each next one; ranges selects as Find does. Then x marks each selected row.
  const auto row = [](const char* name, const char* gestures, const char* selected) {
    QTest::newRow(name) << QString::fromLatin1(gestures) << QString::fromLatin1(selected);
  };
  row("click", "click 2", "..x.....");
  row("another click", "click 2; click 5", ".....x..");
  row("ctrl adds", "click 2; ctrl 4", "..x.x...");
  row("ctrl removes", "click 2; ctrl 4; ctrl 2", "....x...");
  row("shift down", "click 2; shift 5", "..xxxx..");
  row("shift up", "click 5; shift 2", "..xxxx..");
  row("shift again shrinks", "click 2; shift 6; shift 3", "..xx....");
  row("ctrl shift adds a run", "click 1; ctrl 4; ctrlshift 6", ".x..xxx.");
  row("arrow keys", "click 2; key Down; key Down", "....x...");
  row("shift arrows", "click 2; shiftkey Down; shiftkey Down", "..xxx...");
  row("shift arrows back", "click 4; shiftkey Down; shiftkey Up; shiftkey Up", "...xx...");
  row("ctrl arrows then ctrl space", "click 2; ctrlkey Down; ctrlkey Down; ctrlkey Space", "..x.x...");
  row("ctrl space removes", "click 2; ctrlkey Space", "........");
  row("space adds", "click 0; ctrlkey Down; key Space", "xx......");
  row("end", "click 2; key End", ".......x");
  row("shift home", "click 2; shiftkey Home", "xxx.....");
  row("ctrl a", "click 2; ctrlkey A", "xxxxxxxx");
  row("drag", "drag 1 4", ".xxxx...");
  row("drag back", "drag 1 5 2", ".xx.....");
  row("drag up", "drag 6 3", "...xxxx.");
  row("found rows", "ranges 0-0 3-5", "x..xxx..");
  row("click a found row", "ranges 0-0 3-5; click 4", "....x...");
  row("ctrl removes a found row", "ranges 0-0 3-5; ctrl 4", "x..x.x..");
  row("ctrl adds to found rows", "ranges 0-0 3-5; ctrl 7", "x..xxx.x");
  row("ctrl drag removes", "ranges 0-0 3-5; ctrldrag 4 6", "x..x....");
  row("ctrl drag adds", "ranges 0-0 3-5; ctrldrag 1 2", "xxxxxx..");
  row("right click keeps", "ranges 1-2; right 5", ".xx.....");
  row("found rows replace a click", "click 7; ctrl 6; ranges 2-3", "..xx....");
}

// Drives the list as a user does, through its viewport and its keys.
void SortedListTest::selectsAsTheUserAsks() {
  QFETCH(QString, gestures);
  QFETCH(QString, selected);
  SortedList list;
  list.setSelectionMode(QAbstractItemView::ExtendedSelection);
  list.SetItems({"a", "b", "c", "d", "e", "f", "g", "h"});
  list.resize(120, 200);
  list.show();
  QVERIFY(QTest::qWaitForWindowExposed(&list));
  const auto at = [&list](const QString& row) { return list.visualRect(list.model()->index(row.toInt(), 0)).center(); };
  const auto move = [&list](QPoint to, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(QEvent::MouseMove, to, list.viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(list.viewport(), &event);
  };
  const QHash<QString, Qt::KeyboardModifiers> held = {{"click", {}},
                                                      {"ctrl", Qt::ControlModifier},
                                                      {"shift", Qt::ShiftModifier},
                                                      {"ctrlshift", Qt::ControlModifier | Qt::ShiftModifier}};
  const QHash<QString, Qt::Key> keys = {{"Down", Qt::Key_Down}, {"Up", Qt::Key_Up},       {"Home", Qt::Key_Home},
                                        {"End", Qt::Key_End},   {"Space", Qt::Key_Space}, {"A", Qt::Key_A}};
  for (const QString& gesture : gestures.split(u';')) {
    const QStringList words = gesture.trimmed().split(u' ');
    const QString& what = words.first();
    if (held.contains(what)) {
      QTest::mouseClick(list.viewport(), Qt::LeftButton, held[what], at(words[1]));
    } else if (what == "right") {
      QTest::mouseClick(list.viewport(), Qt::RightButton, {}, at(words[1]));
    } else if (what.endsWith("key")) {
      const Qt::KeyboardModifiers modifiers = what == "shiftkey"  ? Qt::ShiftModifier
                                              : what == "ctrlkey" ? Qt::ControlModifier
                                                                  : Qt::NoModifier;
      QTest::keyClick(&list, keys[words[1]], modifiers);
    } else if (what.endsWith("drag")) {
      const Qt::KeyboardModifiers modifiers = what == "ctrldrag" ? Qt::ControlModifier : Qt::NoModifier;
      QTest::mousePress(list.viewport(), Qt::LeftButton, modifiers, at(words[1]));
      for (qsizetype i = 2; i < words.size(); ++i) move(at(words[i]), modifiers);
      QTest::mouseRelease(list.viewport(), Qt::LeftButton, modifiers, at(words.last()));
    } else if (what == "ranges") {
      QList<std::pair<qsizetype, qsizetype>> ranges;
      for (qsizetype i = 1; i < words.size(); ++i)
        ranges.append({words[i].section(u'-', 0, 0).toInt(), words[i].section(u'-', 1, 1).toInt()});
      list.SetSelectedRanges(ranges);
    } else {
      QFAIL(qPrintable("unknown gesture " + gesture));
    }
  }
  QString flags;
  for (const bool flag : list.SelectedFlags()) flags += flag ? u'x' : u'.';
  QCOMPARE(flags, selected);
  for (qsizetype row = 0; row < list.ListCount(); ++row) {
    QCOMPARE(list.Selected(row), selected[row] == u'x');
    // What accessibility reads, which follows the user's clicks and keys.
    if (!gestures.contains(u"ranges"))
      QCOMPARE(list.selectionModel()->isSelected(list.model()->index(static_cast<int>(row), 0)), selected[row] == u'x');
  }
}

// Rows selected in one step, as Find selects them, which only the list's own flags hold.
void SortedListTest::drawsTheSelectedRowsAsSelected() {
  SortedList list;
  list.setSelectionMode(QAbstractItemView::ExtendedSelection);
  list.SetItems({"a", "b", "c", "d"});
  list.resize(120, 100);
  list.show();
  QVERIFY(QTest::qWaitForWindowExposed(&list));
  const auto coloursOfRows = [&list] {
    const QImage drawn = list.viewport()->grab().toImage();
    QList<QColor> colours;
    for (int row = 0; row < 4; ++row) {
      const QRect place = list.visualRect(list.model()->index(row, 0));
      colours << drawn.pixelColor(place.right() - 2, place.center().y());  // right of the text, on the background
    }
    return colours;
  };
  list.SetSelectedRanges({{0, 0}, {2, 2}});
  const QList<QColor> selected = coloursOfRows();
  QVERIFY(selected[0] != selected[1]);
  QCOMPARE(selected[2], selected[0]);
  QCOMPARE(selected[3], selected[1]);
  list.SetSelectedRanges({});
  const QList<QColor> cleared = coloursOfRows();
  QCOMPARE(cleared[0], selected[1]);
  QCOMPARE(cleared[2], selected[1]);
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
  // Scattered rows, then a selection that replaces them.
  QList<std::pair<qsizetype, qsizetype>> everyOther;
  for (qsizetype row = 0; row < 100000; row += 2) everyOther.append({row, row});
  list.SetSelectedRanges(everyOther);
  std::vector<bool> flags = list.SelectedFlags();
  QCOMPARE(std::count(flags.begin(), flags.end(), true), 50000);
  QVERIFY(list.Selected(99998) && !list.Selected(99999));
  list.SetSelectedRanges({{1, 1}});
  flags = list.SelectedFlags();
  QCOMPARE(std::count(flags.begin(), flags.end(), true), 1);
  QVERIFY(flags[1]);
  list.SetListIndex(70000);
  QCOMPARE(list.Text(), QStringLiteral("WP070000"));
}

QTEST_MAIN(SortedListTest)
#include "sortedlist_test.moc"
