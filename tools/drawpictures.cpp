// Draws the program's two pictures: the window icon, a round green radar screen, and the help sign, a blue disc with
// a white question mark. Both are drawn from shapes alone, so they come out the same on every machine. For Windows it
// also writes the radar as the programs' icon file, in the sizes Windows shows, from 16 to 256 pixels.
#include <QBuffer>
#include <QByteArray>
#include <QConicalGradient>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <QtEndian>

#include <cstdio>
#include <cstring>

namespace {

// The radar is drawn on a 32-unit square, scaled to `size` pixels.
QImage drawRadar(int size = 32) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  const QPointF centre(16, 16);
  QRadialGradient screen(centre, 15.5);
  screen.setColorAt(0.0, QColor(20, 110, 40));
  screen.setColorAt(1.0, QColor(5, 45, 15));
  p.setPen(QPen(QColor(30, 70, 35), 1.0));
  p.setBrush(screen);
  p.drawEllipse(centre, 15.0, 15.0);

  // The sweep: a wedge that fades behind the beam.
  QConicalGradient sweep(centre, 45);
  sweep.setColorAt(0.0, QColor(120, 255, 120, 200));
  sweep.setColorAt(0.18, QColor(60, 200, 60, 0));
  sweep.setColorAt(1.0, QColor(60, 200, 60, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(sweep);
  p.drawEllipse(centre, 14.0, 14.0);

  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(90, 220, 90, 170), 0.8));
  p.drawEllipse(centre, 10.0, 10.0);
  p.drawEllipse(centre, 5.0, 5.0);
  p.drawLine(QPointF(16, 2), QPointF(16, 30));
  p.drawLine(QPointF(2, 16), QPointF(30, 16));
  p.setPen(QPen(QColor(170, 255, 170), 1.4));
  p.drawLine(centre, QPointF(16 + 10.6, 16 - 10.6));

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 255, 200));
  p.drawEllipse(QPointF(22, 13), 1.3, 1.3);
  p.drawEllipse(QPointF(10, 21), 1.1, 1.1);
  p.drawEllipse(QPointF(19, 24), 0.9, 0.9);
  return image;
}

QImage drawHelpSign() {
  QImage image(30, 30, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient disc(QPointF(12, 10), 18);
  disc.setColorAt(0.0, QColor(90, 150, 240));
  disc.setColorAt(1.0, QColor(20, 70, 170));
  p.setPen(QPen(QColor(15, 50, 130), 1.0));
  p.setBrush(disc);
  p.drawEllipse(QPointF(15, 15), 14.0, 14.0);

  // The question mark: a hook, a short stem and a dot.
  QPainterPath hook;
  hook.moveTo(10.5, 11.5);
  hook.cubicTo(10.5, 6.5, 19.5, 6.0, 19.5, 11.0);
  hook.cubicTo(19.5, 14.5, 15.0, 14.5, 15.0, 18.5);
  p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(hook);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(15, 23.3), 2.0, 2.0);
  return image;
}

template <typename T>
void appendLittleEndian(QByteArray& bytes, T value) {
  char raw[sizeof(T)];
  qToLittleEndian(value, raw);
  bytes.append(raw, sizeof(T));
}

// An icon file holding one PNG image per size: a 6-byte header, a 16-byte entry per image (its size, colour depth,
// length and offset; a width or height of 256 is written as 0), then the images. Windows reads PNG images in icon
// files since Vista; writing them here needs no image format plugin.
QByteArray radarIcon() {
  const QList<int> sizes = {16, 20, 24, 32, 40, 48, 64, 128, 256};
  QList<QByteArray> images;
  for (const int size : sizes) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    drawRadar(size).save(&buffer, "PNG");
    images.append(png);
  }
  QByteArray icon;
  appendLittleEndian<quint16>(icon, 0);  // reserved
  appendLittleEndian<quint16>(icon, 1);  // an icon, not a cursor
  appendLittleEndian<quint16>(icon, static_cast<quint16>(sizes.size()));
  auto offset = static_cast<quint32>(6 + 16 * sizes.size());
  for (qsizetype i = 0; i < sizes.size(); ++i) {
    const auto side = static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]);
    icon.append(side).append(side);
    icon.append('\0').append('\0');         // no palette, reserved
    appendLittleEndian<quint16>(icon, 1);   // colour planes
    appendLittleEndian<quint16>(icon, 32);  // bits per pixel
    appendLittleEndian<quint32>(icon, static_cast<quint32>(images[i].size()));
    appendLittleEndian<quint32>(icon, offset);
    offset += static_cast<quint32>(images[i].size());
  }
  for (const QByteArray& image : images) icon.append(image);
  return icon;
}

bool writeIcon(const QString& path) {
  QFile file(path);
  const QByteArray icon = radarIcon();
  return file.open(QIODevice::WriteOnly) && file.write(icon) == icon.size() && file.flush();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--icon") == 0) {
    const bool ok = writeIcon(QString::fromLocal8Bit(argv[2]));
    if (!ok) std::fprintf(stderr, "drawpictures: cannot write the icon %s\n", argv[2]);
    return ok ? 0 : 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: drawpictures <output folder> | drawpictures --icon <icon file>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const bool ok = drawRadar().save(folder + QStringLiteral("/radar.png")) &&
                  drawHelpSign().save(folder + QStringLiteral("/help.png"));
  if (!ok) std::fprintf(stderr, "drawpictures: cannot write the pictures into %s\n", argv[1]);
  return ok ? 0 : 1;
}
