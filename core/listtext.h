#pragma once

#include <QStringList>
#include <QStringView>

namespace skelvor {

/// The item that setting a list's text to `text` makes current: the first item equal to it, else the first item equal
/// to it with letter case ignored, in list order; -1 when none is.
qsizetype pickedItem(const QStringList& items, QStringView text);

/// The index of the first item that begins with `typed`, letter case ignored, or -1.
qsizetype typeAheadMatch(const QStringList& items, QStringView typed);

}  // namespace skelvor
