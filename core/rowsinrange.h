#pragma once

#include "countryrows.h"
#include "fixlines.h"
#include "nearby.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

namespace skelvor {

/// A test of a fix line's bytes: whether it gives a row of `kind` that `range` takes or cannot place. The coordinates
/// are tested first, so that a line out of range is never read further; `range` must outlive the test.
std::function<bool(QByteArrayView)> rangeTest(QStringView kind, const Range& range);

/// The places of `rows` whose fix lies within `range`, as Find gives its matches: rows whose coordinates the range
/// cannot place are not among them. The coordinates are read from each row's line; no row text is made.
Matches placesInRange(const CountryRows& rows, const Range& range);

/// The rows of one country of a fix file that lie within a range, in file order, and those the range cannot place:
/// rows whose coordinates are not plain decimal degrees in range.
struct CountryInRange {
  QString code;
  CountryRows rows;
  CountryRows unplaced;
};

/// For each country code of the lines of `lines` that give a row of `kind` that `range` takes or cannot place, in the
/// order the codes first appear, those rows.
std::vector<CountryInRange> rowsInRange(const FixLines& lines, QStringView kind, const Range& range);

}  // namespace skelvor
