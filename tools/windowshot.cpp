// Photographs the window of Skelvor for the help documents. The window is built over a folder of fix files, shown on
// a screen of its own (headless unless the caller chose a platform), drawn at twice its size for a sharp print, and
// saved as a PNG inside a plain frame with a title bar, so that it reads as a window on a white page.
#include "filelist.h"
#include "forvok.h"
#include "offscreen.h"
#include "sortedlist.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include <cstdio>

namespace {

constexpr int kScale = 2;
constexpr int kTitleHeight = 24;
constexpr QColor kFrame(128, 128, 128);

// The window's client area under a title bar with its icon, caption and close box, all inside a one-pixel frame.
QImage framed(QWidget& window) {
  const QPixmap client = window.grab();
  const QSize size(window.width() + 2, window.height() + kTitleHeight + 2);
  QImage image(size * kScale, QImage::Format_ARGB32);
  image.setDevicePixelRatio(kScale);
  image.fill(Qt::white);

  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF title(1, 1, window.width(), kTitleHeight);
  QLinearGradient bar(title.topLeft(), title.bottomLeft());
  bar.setColorAt(0, QColor(236, 236, 236));
  bar.setColorAt(1, QColor(214, 214, 214));
  p.fillRect(title, bar);
  window.windowIcon().paint(&p, QRect(6, 5, 16, 16));
  QFont font = window.font();
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(40, 40, 40));
  p.drawText(title.adjusted(28, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, window.windowTitle());
  // The close box, the only one that the window has.
  const QPointF centre(title.right() - 13, title.center().y());
  p.setPen(QPen(QColor(60, 60, 60), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre + QPointF(-4, -4), centre + QPointF(4, 4));
  p.drawLine(centre + QPointF(-4, 4), centre + QPointF(4, -4));

  p.drawPixmap(QPointF(1, 1 + kTitleHeight), client);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(kFrame, 0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0, 0, size.width() - 1, size.height() - 1));
  p.drawLine(QPointF(1, kTitleHeight), QPointF(size.width() - 2, kTitleHeight));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: windowshot <folder of fix files> <picture.png>\n");
    return 2;
  }
  skelvor::useOffscreenPlatform();
  qputenv("QT_SCALE_FACTOR", QByteArray::number(kScale));
  QApplication app(argc, argv);
  skelvor::useDejaVuFaces();
  QApplication::setApplicationName(QStringLiteral("Skelvor"));

  skelvor::ForVOK window(QString::fromLocal8Bit(argv[1]));
  window.show();
  QApplication::processEvents();

  // As a user would: the sample navaids, France by its name, every fix selected.
  auto* files = window.findChild<skelvor::FileList*>(QStringLiteral("File1"));
  for (int row = 0; row < files->ListCount(); ++row) {
    if (files->List(row) == QLatin1String("Sample Navaids.csv")) {
      files->selectionModel()->setCurrentIndex(files->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
      break;
    }
  }
  window.findChild<skelvor::SortedList*>(QStringLiteral("ListPAYSFull"))->SetText(QStringLiteral("France"));
  window.findChild<QAbstractButton*>(QStringLiteral("Command2"))->click();
  QApplication::processEvents();

  const QImage picture = framed(window);
  if (!picture.save(QString::fromLocal8Bit(argv[2]))) {
    std::fprintf(stderr, "windowshot: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
