#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace skelvor {

/// The dialog "Select within range": asks for the distance around a fix, in the syntax of skelvor-export's --within
/// ("250nm", "400 km"). OK, or Enter, accepts a distance only; for anything else the dialog stays open and says under
/// the field what is wrong.
class RangeDialog : public QDialog {
  Q_OBJECT

 public:
  /// A dialog for the distance around the fix `name`, starting with `distance`.
  RangeDialog(const QString& name, const QString& distance, QWidget* parent = nullptr);

  /// The distance accepted, as typed (spaces around it left out) and in kilometres.
  QString distance() const;
  double km() const { return km_; }

  void accept() override;

 private:
  QLineEdit* RangeDistance = nullptr;
  QLabel* RangeFault = nullptr;
  double km_ = 0;
};

}  // namespace skelvor
