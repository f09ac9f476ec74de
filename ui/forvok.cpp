#include "forvok.h"

#include "appservices.h"
#include "countryrows.h"
#include "filelist.h"
#include "fixfile.h"
#include "listtext.h"
#include "maker.h"
#include "paths.h"
#include "rangedialog.h"
#include "rowsinrange.h"
#include "sortedlist.h"
#include "widgets.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>

#include <exception>
#include <utility>

namespace skelvor {

namespace {

// Where each control stands, in pixels of the client area, and its caption at start, in focus order.
struct Placement {
  const char* name;
  const char* caption;
  int left, top, width, height;
};

constexpr Placement kLayout[] = {
    {"Command3", "End", 472, 316, 89, 41},
    {"File1", "", 6, 10, 115, 41},
    {"ListPAYS", "", 6, 82, 61, 249},
    {"ListResult", "", 202, 80, 259, 249},
    {"Command5", "Show in PlanePlotter", 472, 128, 89, 73},
    {"ListPAYSFull", "", 72, 80, 125, 249},
    {"Text1", "", 202, 56, 97, 21},
    {"Command1", "Find", 302, 56, 69, 21},
    {"Label2", "", 236, 332, 223, 15},
    {"Text2", "", 72, 56, 125, 21},
    {"Check1", "Add to actual File", 468, 50, 91, 35},
    {"Command2", "Select All", 382, 56, 69, 21},
    {"File2", "", 566, 244, 91, 32},
    {"Label3", "Save as...", 476, 94, 87, 13},
    {"Text3", "VOK", 472, 110, 89, 17},
    {"Label4", kMakerHost, 428, 6, 127, 15},
    {"Command4_0", "Fr", 472, 238, 45, 63},
    {"Command4_1", "En", 516, 238, 45, 63},
    {"Check2", "Keep selected", 6, 336, 223, 21},
};

// The items of the result list's context menu: the selection within the kept range, and a new range around a row.
constexpr char kKeptRangeItem[] = "Select within %1 of %2";
constexpr char kNewRangeItem[] = "Select within range of %1...";

constexpr QSize kClientSize(569, 359);
constexpr QSize kHelpPictureSize(30, 30);

// The lists' font: Consolas where the system has it, else the system's own fixed-pitch font, at 8.25 points.
QFont listFont() {
  QFont font = QFontDatabase::hasFamily(QStringLiteral("Consolas"))
                   ? QFont(QStringLiteral("Consolas"))
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(8.25);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  return font;
}

// Where the window forces a white background it forces black text too, so that a dark desktop theme leaves every
// text readable and the window looks the same under any theme.
void forceBlackOnWhite(QWidget* control, QPalette::ColorRole background, QPalette::ColorRole text) {
  QPalette palette = control->palette();
  palette.setColor(background, Qt::white);
  palette.setColor(text, Qt::black);
  control->setPalette(palette);
}

// The flat look: a one-pixel border around a white field.
void makeFlat(QAbstractScrollArea* list) {
  list->setFrameShape(QFrame::Box);
  list->setLineWidth(1);
  forceBlackOnWhite(list, QPalette::Base, QPalette::Text);
  QPalette palette = list->palette();
  palette.setColor(QPalette::WindowText, QColor(100, 100, 100));
  list->setPalette(palette);
}

void makeFlat(QLineEdit* edit, bool white) {
  edit->setStyleSheet(white
                          ? QStringLiteral("QLineEdit { border: 1px solid #646464; background: white; color: black; }")
                          : QStringLiteral("QLineEdit { border: 1px solid #646464; }"));
}

// Every list cuts long text at its right edge, with no ellipsis and no horizontal scroll bar.
void cutLongText(QAbstractItemView* list) {
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setTextElideMode(Qt::ElideNone);
}

// The count label after a pick: "N objects", one word for every count.
QString objectsLabel(qsizetype count) { return QString::number(count) + QLatin1StringView(" objects"); }

// The count label after Find and Select All: "N result of T objects." up to one, "N results of T objects." above,
// with the total shown as the pick stored it.
QString resultsLabel(qsizetype count, const QString& total) {
  return QString::number(count) + (count > 1 ? QLatin1String(" results of ") : QLatin1String(" result of ")) + total +
         QLatin1String(" objects.");
}

void setCaption(QWidget* control, const QString& caption) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(caption);
  if (auto* label = qobject_cast<QLabel*>(control)) label->setText(caption);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(caption);
}

}  // namespace

ForVOK::ForVOK(const QString& programFolder, QWidget* parent)
    // Windows shows the close box of a customised title bar only together with the system menu.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      programFolder_(programFolder),
      opener_(&QDesktopServices::openUrl) {
  setObjectName(QStringLiteral("ForVOK"));
  setWindowTitle(QStringLiteral("Skelvor"));
  setWindowIcon(QIcon(QStringLiteral(":/pictures/radar.png")));
  setFixedSize(kClientSize);
  setAutoFillBackground(true);
  forceBlackOnWhite(this, QPalette::Window, QPalette::WindowText);

  createLists();
  createEditors();
  createButtons();
  createLabels();
  applyLayout();
  connectHandlers();
  guard("starting Skelvor", [this] { Form_Load(); });
  centreOnScreen();
  Command3->setFocus();
}

void ForVOK::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The frame is known once the window exists on the desktop: centre it again, frame and all.
  if (!event->spontaneous()) centreOnScreen();
}

void ForVOK::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // Where the desktop adds its frame only after the window is shown, the window is centred once more when the frame
  // first shows, unless the user has moved it already.
  const bool unmoved = frameGeometry().topLeft() == placedFrame_ || geometry().topLeft() == placedClient_;
  if (!frameCentred_ && isVisible() && frameGeometry().size() != size() && unmoved) {
    frameCentred_ = true;
    centreOnScreen();
  }
}

void ForVOK::closeEvent(QCloseEvent* event) {
  ended_ = true;
  QWidget::closeEvent(event);
}

void ForVOK::createLists() {
  File1 = new FileList(this);
  File1->SetPattern(QStringLiteral("*.CSV"));
  File2 = new FileList(this);
  File2->SetPattern(QStringLiteral("*.pdf"));
  File2->hide();
  makeFlat(File1);
  cutLongText(File1);

  ListPAYS = new SortedList(this);
  ListPAYSFull = new SortedList(this);
  ListResult = new SortedList(this);
  ListResult->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // In the results the coordinates stand 120 spaces to the right of what a row shows, out of sight.
  for (SortedList* list : {ListPAYS, ListPAYSFull, ListResult}) {
    list->setFont(listFont());
    makeFlat(list);
    cutLongText(list);
  }
}

void ForVOK::createEditors() {
  Text1 = new QLineEdit(this);
  Text2 = new QLineEdit(this);
  Text3 = new QLineEdit(this);
  makeFlat(Text1, true);
  makeFlat(Text2, true);
  makeFlat(Text3, false);

  // "Add to actual File" stands on white; "Keep selected" on the system's window-background colour, in the
  // system's text colour for it.
  Check1 = new WrappingCheckBox(this);
  Check1->setAutoFillBackground(true);
  Check1->setBackgroundRole(QPalette::Base);
  forceBlackOnWhite(Check1, QPalette::Base, QPalette::WindowText);
  Check1->hide();
  Check2 = new WrappingCheckBox(this);
  Check2->setAutoFillBackground(true);
  Check2->setBackgroundRole(QPalette::Base);
  QPalette system = Check2->palette();
  system.setColor(QPalette::Base, QGuiApplication::palette().color(QPalette::Base));
  system.setColor(QPalette::WindowText, QGuiApplication::palette().color(QPalette::Text));
  Check2->setPalette(system);
}

void ForVOK::createButtons() {
  auto* enterClicks = new EnterClicksButtons(this);
  Command1 = new QPushButton(this);
  Command2 = new QPushButton(this);
  Command3 = new QPushButton(this);
  Command5 = new WrappingButton(this);
  for (QPushButton* button : {Command1, Command2, Command3, Command5}) {
    button->setAutoDefault(false);
    button->installEventFilter(enterClicks);
  }
  for (auto& button : Command4) {
    button = new QToolButton(this);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(kHelpPictureSize);
    button->setFocusPolicy(Qt::StrongFocus);
    button->installEventFilter(enterClicks);
  }
  Command4[0]->setIcon(QIcon(QStringLiteral(":/pictures/help.png")));
}

void ForVOK::createLabels() {
  Label2 = new QLabel(this);
  Label2->setAutoFillBackground(true);
  Label3 = new QLabel(this);
  Label4 = new ClickableLabel(this);
  Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label4->setCursor(Qt::PointingHandCursor);
  QPalette grey = Label4->palette();
  grey.setColor(QPalette::WindowText, QColor(192, 192, 192));
  Label4->setPalette(grey);
}

void ForVOK::applyLayout() {
  const std::array<QWidget*, std::size(kLayout)> controls = {
      Command3, File1,    ListPAYS, ListResult, Command5, ListPAYSFull, Text1,       Command1,    Label2, Text2,
      Check1,   Command2, File2,    Label3,     Text3,    Label4,       Command4[0], Command4[1], Check2};
  QWidget* previous = nullptr;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Placement& place = kLayout[i];
    QWidget* control = controls[i];
    control->setObjectName(QLatin1String(place.name));
    control->setGeometry(place.left, place.top, place.width, place.height);
    setCaption(control, QString::fromUtf8(place.caption));
    if (control->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) setTabOrder(previous, control);
    previous = control;
  }
}

void ForVOK::connectHandlers() {
  const auto on = [this](auto* control, auto signal, const char* action, void (ForVOK::*handler)()) {
    connect(control, signal, this, [this, action, handler] { guard(action, [this, handler] { (this->*handler)(); }); });
  };
  on(Command3, &QPushButton::clicked, "ending Skelvor", &ForVOK::Command3_Click);
  on(File1, &FileList::click, "reading the fix file", &ForVOK::File1_Click);
  on(ListPAYS, &SortedList::click, "listing the fixes of the country", &ForVOK::ListPAYS_Click);
  on(ListPAYS, &SortedList::mouseUp, "choosing the country", &ForVOK::ListPAYS_MouseUp);
  on(ListPAYSFull, &SortedList::click, "choosing the country", &ForVOK::ListPAYSFull_Click);
  on(Text2, &QLineEdit::textChanged, "finding the country", &ForVOK::Text2_Change);
  on(Command1, &QPushButton::clicked, "Find", &ForVOK::Command1_Click);
  on(Command2, &QPushButton::clicked, "Select All", &ForVOK::Command2_Click);
  on(Command5, &QPushButton::clicked, "writing the GPX file", &ForVOK::Command5_Click);
  connect(ListResult, &SortedList::menuRequested, this, [this](qsizetype row, QPoint where) {
    guard("selecting within range", [this, row, where] { ListResult_ContextMenu(row, where); });
  });
  for (std::size_t index = 0; index < Command4.size(); ++index)
    connect(Command4[index], &QToolButton::clicked, this, [this, index] {
      guard("opening the help document", [this, index] { Command4_Click(static_cast<int>(index)); });
    });
  connect(Label4, &ClickableLabel::click, this, [this] { guard("opening the web page", [this] { Label4_Click(); }); });
}

void ForVOK::centreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  // The frame, title bar included, stands in the middle of the free area; move() places the frame's corner.
  const QRect available = screen->availableGeometry();
  const QSize frame = frameGeometry().size();
  placedFrame_ = QPoint(available.left() + (available.width() - frame.width()) / 2,
                        available.top() + (available.height() - frame.height()) / 2);
  move(placedFrame_);
  placedClient_ = geometry().topLeft();
}

template <typename Handler>
void ForVOK::guard(const char* action, Handler&& handler) {
  // Once the run has ended, no handler starts.
  if (ended_) return;
  try {
    handler();
  } catch (const RunEnded&) {
    // The run ended while the handler waited on events; it goes no further.
  } catch (const std::exception& failure) {
    QMessageBox::critical(
        this, windowTitle(),
        tr("Skelvor could not finish %1: %2").arg(QLatin1String(action), QString::fromLocal8Bit(failure.what())));
  } catch (...) {
    QMessageBox::critical(this, windowTitle(),
                          tr("Skelvor could not finish %1, for a reason it cannot name.").arg(QLatin1String(action)));
  }
}

void ForVOK::processWaitingEvents() {
  skelvor::processWaitingEvents();
  if (ended_) throw RunEnded{};
}

void ForVOK::InitTERR() { fillTerritories(TERR_); }

void ForVOK::Form_Load() {
  File1->SetPath(programFolder_);
  File2->SetPath(programFolder_);
  InitTERR();
  Command4[1]->setIcon(Command4[0]->icon());
}

void ForVOK::Command3_Click() { close(); }

void ForVOK::File1_Click() {
  ListPAYS->Clear();
  ListPAYSFull->Clear();
  const BusyPointer busy;
  // A file that cannot be read leaves both lists empty; the kind and the kept country are still set as usual. The
  // previous lines go first, so that two files are never held at once.
  LIGNES_ = FixLines();
  shownCode_.reset();
  FixFileLines read = readFixFileLines(inFolder(File1->Path(), File1->FileName()));
  LIGNES_ = std::move(read.lines);
  ListPAYS->SetItems(read.codes);
  File1->SetTag(fileKind(File1->FileName(), File1->Tag()));
  QStringList names;
  for (const QString& code : ListPAYS->Items())
    if (const auto name = countryName(TERR_, code)) names.append(*name);
  ListPAYSFull->SetItems(names);
  processWaitingEvents();
  const QString keptCode = tagOf(Check2);
  if (Check2->isChecked() && !keptCode.isEmpty()) ListPAYS->SetText(keptCode);
}

void ForVOK::ListPAYS_Click() {
  const QString code = ListPAYS->Text();
  if (code == shownCode_) {
    // The country shown, picked again (as typing its name does at each key): the same rows, the list afresh.
    ListResult->Refill();
  } else {
    // The previous rows go before the new ones are built, so that two fills are never held at once.
    ListResult->Clear();
    ListResult->SetRows(CountryRows(LIGNES_, code, File1->Tag()));
    shownCode_ = code;
  }
  const qsizetype count = ListResult->ListCount();
  Label2->setText(objectsLabel(count));
  setTag(Label2, QString::number(count));
  setTag(Check2, code);
}

void ForVOK::ListPAYS_MouseUp() {
  if (const auto name = countryName(TERR_, ListPAYS->Text())) ListPAYSFull->SetText(*name);
}

void ForVOK::ListPAYSFull_Click() {
  if (const auto code = codeOfName(ListPAYS->Items(), TERR_, ListPAYSFull->Text())) ListPAYS->SetText(*code);
  Check2->setText(literalCaption(QStringLiteral("Keep ") + ListPAYSFull->Text() + QStringLiteral(" selected")));
}

void ForVOK::Text2_Change() {
  const qsizetype match = typeAheadMatch(ListPAYSFull->Items(), Text2->text());
  if (match >= 0) ListPAYSFull->SetListIndex(match);
}

void ForVOK::Command1_Click() {
  ListResult->hide();
  processWaitingEvents();
  const Matches found = ListResult->Rows().find(Text1->text());
  selectResults(found.ranges);
  Label2->setText(resultsLabel(found.count, tagOf(Label2)));
}

void ForVOK::Command2_Click() {
  ListResult->hide();
  processWaitingEvents();
  const qsizetype count = ListResult->ListCount();
  selectResults(count > 0 ? RowRanges{{0, count - 1}} : RowRanges{});
  Label2->setText(resultsLabel(count, tagOf(Label2)));
}

// The menu offers first the selection within the kept range, once there is one, then a new range around the row
// asked for, which takes a fix whose coordinates a range can place.
void ForVOK::ListResult_ContextMenu(qsizetype row, QPoint where) {
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("ListResultMenu"));
  if (keptRange_) menu.addAction(literalCaption(tr(kKeptRangeItem).arg(keptRange_->distance, keptRange_->name)));
  QAction* around = nullptr;
  KeptRange fix;
  if (row >= 0 && row < ListResult->Rows().size()) {
    const FixRow fields = ListResult->Rows().row(row);
    FixLines::decode(ListResult->Rows().waypoint(row).name, ListResult->Rows().isUtf8(), fix.name);
    const std::optional<GeoPoint> point = plainPoint(fields.latitude, fields.longitude);
    around = menu.addAction(literalCaption(tr(kNewRangeItem).arg(fix.name)));
    around->setEnabled(point.has_value());
    fix.fix = point.value_or(GeoPoint{});
  }
  if (menu.isEmpty()) return;
  QAction* const chosen = menu.exec(where);
  if (chosen == nullptr || ended_) return;
  if (chosen == around) {
    RangeDialog dialog(fix.name, keptRange_ ? keptRange_->distance : QString(), this);
    if (dialog.exec() != QDialog::Accepted || ended_) return;
    fix.distance = dialog.distance();
    fix.km = dialog.km();
    keptRange_ = fix;
  }
  selectWithinRange();
}

void ForVOK::selectWithinRange() {
  Matches found;
  {
    const BusyPointer busy;
    found = placesInRange(ListResult->Rows(), Range(keptRange_->fix, keptRange_->km));
    const bool focused = focusWidget() == ListResult;  // the list the menu was opened on, behind the dialog
    selectResults(found.ranges);
    if (focused) ListResult->setFocus();
  }
  Label2->setText(resultsLabel(found.count, tagOf(Label2)));
}

// The list is hidden while its selection changes and shown once afterwards, as for Find and Select All, so that the
// rows are drawn once with their new flags.
void ForVOK::selectResults(const RowRanges& ranges) {
  ListResult->hide();
  ListResult->SetSelectedRanges(ranges);
  ListResult->show();
  processWaitingEvents();
}

void ForVOK::Command5_Click() {
  // A failed write gives the body back as it was, so that exporting again after mending the name adds nothing twice.
  const bool adding = Check1->isChecked();
  QByteArray gathered = adding ? QByteArray() : VOK_.takeCORPS();
  const qsizetype kept = VOK_.CORPS().size();
  VOK_.append(ListResult->Rows(), ListResult->SelectedFlags());
  if (VOK_.CORPS().isEmpty()) return;
  if (WriteGPX())
    Check1->setVisible(true);
  else if (adding)
    VOK_.cutCORPS(kept);
  else
    VOK_.restoreCORPS(std::move(gathered));
}

bool ForVOK::WriteGPX() {
  const QString path = inFolder(programFolder_, Text3->text() + QStringLiteral(".gpx"));
  const WriteResult written = VOK_.write(path);
  if (!written.unwritableFolder.isEmpty())
    QMessageBox::warning(this, windowTitle(),
                         tr("The waypoints were not written.\n\n%1\n\nThey are kept: export again once Skelvor can "
                            "write in its folder.")
                             .arg(unwritableFolderMessage(written.unwritableFolder, true)));
  else if (written.busy)
    QMessageBox::warning(this, windowTitle(),
                         tr("The waypoints were not written.\n\n%1\n\nThey are kept.").arg(written.error));
  else if (!written.ok)
    QMessageBox::warning(this, windowTitle(),
                         tr("The waypoints were not written.\n\n%1\n\nThey are kept: choose another name under "
                            "\"Save as...\" or free the file, then export again.")
                             .arg(written.error));
  return written.ok;
}
void ForVOK::setOpener(std::function<bool(const QUrl&)> opener) { opener_ = std::move(opener); }

// "Fr" opens the first French help document of the program folder, "En" the first English one.
void ForVOK::Command4_Click(int Index) {
  if (Index == 0) File2->SetPattern(QStringLiteral("Ai*.pdf"));
  if (Index == 1) File2->SetPattern(QStringLiteral("He*.pdf"));
  File2->Refresh();
  processWaitingEvents();
  if (File2->ListCount() == 0) return;
  opener_(QUrl::fromLocalFile(inFolder(File2->Path(), File2->List(0))));
}

void ForVOK::Label4_Click() { opener_(QUrl(QString::fromLatin1(kMakerUrl))); }

}  // namespace skelvor
