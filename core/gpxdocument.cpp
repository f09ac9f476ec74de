#include "gpxdocument.h"

#include "gpx.h"

#include <QBuffer>
#include <QStringEncoder>

#include <utility>

namespace skelvor {

namespace {

// Gathers the blocks of the taken places a piece of about 32,000 characters at a time and hands each piece, in UTF-8,
// to `put`; false as soon as `put` is.
template <typename Put>
bool forEachPiece(const CountryRows& rows, const std::vector<bool>& taken, Put put) {
  constexpr qsizetype kPiece = 1 << 15;  // characters: a little more once the last block is in
  QString blocks;
  blocks.reserve(2 * kPiece);
  QStringEncoder utf8(QStringEncoder::Utf8);
  QByteArray bytes;
  const auto hand = [&] {
    bytes.resize(utf8.requiredSpace(blocks.size()));
    bytes.truncate(utf8.appendToBuffer(bytes.data(), blocks) - bytes.constData());
    blocks.resize(0);
    return put(QByteArrayView(bytes));
  };
  bool ok = true;
  rows.forEachTaken(taken, [&](const WaypointFieldViews& waypoint) {
    if (!ok) return;
    appendWaypointBlock(blocks, waypoint);
    if (blocks.size() >= kPiece) ok = hand();
  });
  return ok && hand();
}

}  // namespace

GpxDocument::GpxDocument() : TETE_(gpxDeclaration() + gpxOpeningTag()), FION_(gpxClosingTag()) {}

void GpxDocument::append(const CountryRows& rows, const std::vector<bool>& taken) {
  forEachPiece(rows, taken, [this](QByteArrayView piece) {
    CORPS_.append(piece);
    return true;
  });
}

QByteArray GpxDocument::takeCORPS() { return std::exchange(CORPS_, QByteArray()); }

bool GpxDocument::readBack(const QByteArray& file) {
  const QByteArray head = TETE_.toUtf8();
  const QByteArray foot = (FION_ + gpxFileEnd().toString()).toUtf8();
  if (file.size() < head.size() + foot.size() || !file.startsWith(head) || !file.endsWith(foot)) return false;
  const QByteArrayView body = QByteArrayView(file).sliced(head.size(), file.size() - head.size() - foot.size());
  if (!body.isValidUtf8()) return false;
  CORPS_ = body.toByteArray();
  return true;
}

bool GpxDocument::writeTo(QIODevice& device, const std::vector<Added>& added) const {
  const auto put = [&device](QByteArrayView bytes) { return device.write(bytes.data(), bytes.size()) == bytes.size(); };
  if (!put(TETE_.toUtf8()) || !put(CORPS_)) return false;
  for (const Added& rows : added)
    if (!forEachPiece(*rows.rows, *rows.taken, put)) return false;
  return put((FION_ + gpxFileEnd().toString()).toUtf8());
}

QByteArray GpxDocument::bytes(const std::vector<Added>& added) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  writeTo(buffer, added);
  return bytes;
}

WriteResult GpxDocument::write(const QString& path, const std::vector<Added>& added) const {
  return writeFileAtomically(path, [&](QIODevice& device) { return writeTo(device, added); });
}

}  // namespace skelvor
