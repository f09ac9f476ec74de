#include "xplanefixes.h"

#include "textinput.h"
#include "xplanetext.h"

namespace skelvor {

XPlaneFixesRead readXPlaneFixes(QStringView text) {
  XPlaneFixesRead result;
  const detail::XPlaneHeader header = detail::readXPlaneHeader(text);
  if (!header.error.isEmpty()) {
    result.error = header.error;
    return result;
  }
  detail::forEachXPlaneRecord(text, header, [&](qsizetype line, QStringView record) {
    // Five fields, and a sixth that takes whatever follows; nothing after the region code is read.
    const auto fields = detail::splitXPlaneFields<6>(record);
    if (fields.count < 5) {
      result.skipped.append({line, SkipReason::Malformed, QStringLiteral("fewer than 5 fields")});
      return;
    }
    if (!isCoordinate(fields.field[0], 90.0) || !isCoordinate(fields.field[1], 180.0)) {
      result.skipped.append({line, SkipReason::Malformed, QStringLiteral("coordinates that are no numbers")});
      return;
    }
    if (fields.field[4].size() != 2) {
      result.skipped.append({line, SkipReason::Malformed, QStringLiteral("a region code that is not 2 characters")});
      return;
    }
    result.fixes.append({line, fields.field[0].toString(), fields.field[1].toString(), fields.field[2].toString(),
                         fields.field[3].toString(), fields.field[4].toString()});
  });
  return result;
}

XPlaneFixesRead readXPlaneFixesFile(const QString& path) {
  const TextInput input = readTextInput(path);
  if (!input.ok()) return {input.error, {}, {}};
  return readXPlaneFixes(input.text);
}

}  // namespace skelvor
