#pragma once

// Result rows as the row builder lays them out, for tests that consume rows.
#include <QString>
#include <QStringView>

namespace skelvor {

/// The visible text, 120 spaces, "|", the latitude, "|", the longitude.
inline QString testRow(QStringView visible, QStringView latitude, QStringView longitude) {
  return visible.toString() + QString(120, u' ') + u'|' + latitude.toString() + u'|' + longitude.toString();
}

}  // namespace skelvor
