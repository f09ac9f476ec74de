#pragma once

#include "fixfile.h"
#include "gpxdocument.h"
#include "nearby.h"
#include "territory.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>
#include <QUrl>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

namespace skelvor {

class ClickableLabel;
class FileList;
class SortedList;

/// The one window of Skelvor: fix files on the left, countries and their fixes in the middle, export on the right.
/// It owns all the state of a run; its handlers read the controls, ask the core and write the controls back.
class ForVOK : public QWidget {
  Q_OBJECT

 public:
  /// Builds the window over `programFolder`, the folder that holds the program, its fix files and help documents,
  /// and runs its load handler.
  explicit ForVOK(const QString& programFolder, QWidget* parent = nullptr);

  /// Fills the territory table.
  void InitTERR();

  /// What the window holds, for reading: the GPX document whose body gathers the exported waypoints, and the
  /// territory table.
  const GpxDocument& VOK() const { return VOK_; }
  const TerritoryTable& TERR() const { return TERR_; }

  /// Replaces the way documents and web pages are handed to the desktop (by default QDesktopServices::openUrl);
  /// the opener must return at once, without waiting for the application it starts.
  void setOpener(std::function<bool(const QUrl&)> opener);

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  /// Closing the window, by "End" or the close box, ends the run.
  void closeEvent(QCloseEvent* event) override;

 private:
  /// Thrown out of a handler that waits on events when the run ended meanwhile.
  struct RunEnded {};

  void createLists();
  void createEditors();
  void createButtons();
  void createLabels();
  void applyLayout();
  void connectHandlers();
  void centreOnScreen();

  /// Runs one handler; an unexpected failure is shown in a message box that names the user's action and the cause,
  /// and the window goes on.
  template <typename Handler>
  void guard(const char* action, Handler&& handler);
  /// Handles the waiting events; when one of them ended the run, the handler that waits goes no further.
  void processWaitingEvents();

  void Form_Load();
  void Command3_Click();
  void File1_Click();
  void ListPAYS_Click();
  void ListPAYS_MouseUp();
  void ListPAYSFull_Click();
  void Text2_Change();
  void Command1_Click();
  void Command2_Click();
  void ListResult_ContextMenu(qsizetype row, QPoint where);
  void Command5_Click();
  bool WriteGPX();
  void Command4_Click(int Index);
  void Label4_Click();

  GpxDocument VOK_;
  TerritoryTable TERR_;
  FixLines LIGNES_;
  /// The country whose rows of LIGNES_ the result list holds, once one is picked.
  std::optional<QString> shownCode_;

  /// A fix and a distance around it, as the last selection within range took them: kept for the rest of the run.
  struct KeptRange {
    QString name;
    GeoPoint fix;
    /// As the user typed it.
    QString distance;
    double km = 0;
  };
  std::optional<KeptRange> keptRange_;
  /// Selects exactly the rows of the result list within the kept range, and counts them as Find does.
  void selectWithinRange();
  /// Selects exactly `ranges` of the hidden result list, then shows it.
  void selectResults(const RowRanges& ranges);

  QString programFolder_;
  bool ended_ = false;
  bool frameCentred_ = false;
  /// Where the window was last centred: the corner asked for its frame, and the corner its client area took.
  QPoint placedFrame_;
  QPoint placedClient_;
  std::function<bool(const QUrl&)> opener_;

  FileList* File1 = nullptr;
  FileList* File2 = nullptr;
  SortedList* ListPAYS = nullptr;
  SortedList* ListPAYSFull = nullptr;
  SortedList* ListResult = nullptr;
  QLineEdit* Text1 = nullptr;
  QLineEdit* Text2 = nullptr;
  QLineEdit* Text3 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* Command3 = nullptr;
  QPushButton* Command5 = nullptr;
  std::array<QToolButton*, 2> Command4{};
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  ClickableLabel* Label4 = nullptr;
};

}  // namespace skelvor
