#include "rangedialog.h"

#include "nearby.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace skelvor {

namespace {

// The dialog's texts.
constexpr char kTitle[] = "Select within range";
constexpr char kPrompt[] = "Distance from %1, in km or nm (for example 250nm):";

}  // namespace

RangeDialog::RangeDialog(const QString& name, const QString& distance, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RangeDialog"));
  setWindowTitle(tr(kTitle));
  auto* prompt = new QLabel(tr(kPrompt).arg(name), this);
  prompt->setTextFormat(Qt::PlainText);
  RangeDistance = new QLineEdit(distance, this);
  RangeDistance->setObjectName(QStringLiteral("RangeDistance"));
  RangeDistance->selectAll();
  RangeFault = new QLabel(this);
  RangeFault->setObjectName(QStringLiteral("RangeFault"));
  RangeFault->setTextFormat(Qt::PlainText);
  QPalette red = RangeFault->palette();
  red.setColor(QPalette::WindowText, QColor(176, 0, 32));
  RangeFault->setPalette(red);
  RangeFault->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &RangeDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &RangeDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(RangeDistance);
  layout->addWidget(RangeFault);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString RangeDialog::distance() const { return RangeDistance->text().trimmed(); }

void RangeDialog::accept() {
  QString fault;
  const std::optional<double> km = parseDistance(RangeDistance->text(), fault);
  if (!km) {
    RangeFault->setText(fault);
    RangeFault->show();
    RangeDistance->setFocus();
    RangeDistance->selectAll();
    return;
  }
  km_ = *km;
  QDialog::accept();
}

}  // namespace skelvor
