#include "widgets.h"

#include <QMouseEvent>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace skelvor {

bool picksInList(const QMouseEvent& event) {
  if (event.type() == QEvent::MouseMove)
    return event.buttons() == Qt::NoButton || event.buttons().testFlag(Qt::LeftButton);
  return event.button() == Qt::LeftButton;
}

QString literalCaption(QString text) { return text.replace(u'&', QStringLiteral("&&")); }

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit click();
}

void WrappingButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(2, 0, -2, 0);
  painter.drawItemText(textArea, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, palette(), isEnabled(),
                       caption, QPalette::ButtonText);
}

void WrappingCheckBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  QStyleOptionButton box = option;
  box.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
  box.rect.moveTop((height() - box.rect.height()) / 2);
  painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);
  const int gap = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
  const QRect textArea(box.rect.right() + 1 + gap, 0, width() - box.rect.right() - 1 - gap, height());
  painter.drawItemText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, palette(),
                       isEnabled(), text(), QPalette::WindowText);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = textArea;
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

bool WrappingCheckBox::hitButton(const QPoint& position) const { return rect().contains(position); }

}  // namespace skelvor
