#pragma once

#include "fixfile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace skelvor {

/// The result row of one fix line of the given kind ("NAV", "WPT" or "APT"): the visible text, 120 spaces, "|", the
/// latitude, "|", the longitude. No row when the kind is unknown, when the line lacks a column its kind uses, or when
/// an airport line's column 2 is not exactly "A".
std::optional<QString> resultRow(QStringView line, QStringView kind);

/// The rows of every line whose country code (field 1) equals `code` exactly, in file order.
QStringList resultRows(const QStringList& lines, QStringView code, QStringView kind);
QStringList resultRows(const FixLines& lines, QStringView code, QStringView kind);

/// "N objects", the count label after a fill.
QString objectsLabel(qsizetype count);

/// The index of the first item that begins with `typed`, letter case ignored, or -1.
qsizetype typeAheadMatch(const QStringList& items, QStringView typed);

}  // namespace skelvor
