#pragma once

// The bytes of a whole GPX file from its three parts, built in one piece: what the document's writing, a piece at a
// time, is checked against.
#include "gpx.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

namespace skelvor {

/// The bytes of a GPX file: head, body and foot, then CR LF, in UTF-8 without a byte-order mark.
inline QByteArray gpxFileBytes(const QString& head, const QString& body, const QString& foot) {
  QStringEncoder utf8(QStringEncoder::Utf8);
  QByteArray bytes(utf8.requiredSpace(head.size() + body.size() + foot.size() + gpxFileEnd().size()),
                   Qt::Uninitialized);
  char* end = bytes.data();
  for (const QStringView part : {QStringView(head), QStringView(body), QStringView(foot), gpxFileEnd()})
    end = utf8.appendToBuffer(end, part);
  bytes.truncate(end - bytes.data());
  return bytes;
}

}  // namespace skelvor
