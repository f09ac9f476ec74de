#include "xplanenavaids.h"

#include "textinput.h"
#include "xplanetext.h"

namespace skelvor {

XPlaneNavaidsRead readXPlaneNavaids(QStringView text) {
  XPlaneNavaidsRead result;
  const detail::XPlaneHeader header = detail::readXPlaneHeader(text);
  if (!header.error.isEmpty()) {
    result.error = header.error;
    return result;
  }
  detail::forEachXPlaneRecord(text, header, [&](qsizetype line, QStringView record) {
    const auto fields = detail::splitXPlaneFields<11>(record);
    const QStringView rowCode = fields.field[0];
    if (!isDigits(rowCode)) {
      result.skipped.append({line, SkipReason::Malformed, QStringLiteral("no row code")});
      return;
    }
    XPlaneNavaidKind kind;
    if (rowCode == u"2") {
      kind = XPlaneNavaidKind::Ndb;
    } else if (rowCode == u"3") {
      kind = XPlaneNavaidKind::Vor;
    } else if (rowCode == u"12") {
      kind = XPlaneNavaidKind::Dme;
    } else if (rowCode == u"13") {
      kind = XPlaneNavaidKind::LoneDme;
    } else {
      result.skipped.append({line, SkipReason::OtherRowCode, {}});
      return;
    }
    if (fields.count < 10) {
      result.skipped.append({line, SkipReason::Malformed, QStringLiteral("fewer than 10 fields")});
      return;
    }
    if (!isCoordinate(fields.field[1], 90.0) || !isCoordinate(fields.field[2], 180.0)) {
      result.skipped.append({line, SkipReason::Malformed, QStringLiteral("coordinates that are no numbers")});
      return;
    }
    if (!isDigits(fields.field[4])) {
      result.skipped.append({line, SkipReason::Malformed, QStringLiteral("a frequency that is no whole number")});
      return;
    }
    if (fields.field[9].size() != 2) {
      result.skipped.append({line, SkipReason::Malformed, QStringLiteral("a region code that is not 2 characters")});
      return;
    }
    XPlaneNavaid navaid;
    navaid.line = line;
    navaid.kind = kind;
    navaid.latitude = fields.field[1].toString();
    navaid.longitude = fields.field[2].toString();
    navaid.elevation = fields.field[3].toString();
    navaid.frequency = fields.field[4].toString();
    navaid.range = fields.field[5].toString();
    navaid.variation = fields.field[6].toString();
    navaid.ident = fields.field[7].toString();
    navaid.terminalArea = fields.field[8].toString();
    navaid.region = fields.field[9].toString();
    navaid.name = fields.field[10].toString();
    result.navaids.append(std::move(navaid));
  });
  return result;
}

XPlaneNavaidsRead readXPlaneNavaidsFile(const QString& path) {
  const TextInput input = readTextInput(path);
  if (!input.ok()) return {input.error, {}, {}};
  return readXPlaneNavaids(input.text);
}

}  // namespace skelvor
