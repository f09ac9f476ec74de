#include "xplanetext.h"

namespace skelvor::detail {

namespace {

// The line that starts at `pos`, without its line end, and the offset just after that line end.
std::pair<QStringView, qsizetype> lineAt(QStringView text, qsizetype pos) {
  qsizetype stop = pos;
  while (stop < text.size() && text[stop] != u'\n' && text[stop] != u'\r') ++stop;
  qsizetype next = stop;
  if (next < text.size() && text[next] == u'\r') ++next;
  if (next < text.size() && text[next] == u'\n' && (next == stop || text[stop] == u'\r')) ++next;
  return {text.sliced(pos, stop - pos), next};
}

}  // namespace

XPlaneHeader readXPlaneHeader(QStringView text) {
  XPlaneHeader header;
  qsizetype pos = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
  const auto [first, afterFirst] = lineAt(text, pos);
  const QStringView origin = first.trimmed();
  if (origin != u"I" && origin != u"A") {
    header.error = QStringLiteral("not X-Plane navigation data: the first line is not \"I\" or \"A\"");
    return header;
  }
  if (afterFirst >= text.size()) {
    header.error = QStringLiteral("not X-Plane navigation data: the version line is missing");
    return header;
  }
  const auto [second, afterSecond] = lineAt(text, afterFirst);
  const QStringView versionLine = second.trimmed();
  qsizetype digits = 0;
  while (digits < versionLine.size() && versionLine[digits] >= u'0' && versionLine[digits] <= u'9') ++digits;
  if (digits == 0) {
    header.error = QStringLiteral("not X-Plane navigation data: the second line does not begin with a version number");
    return header;
  }
  // Nine digits hold any real version; a longer number is as new as can be.
  header.version = digits > 9 ? 999999999 : versionLine.first(digits).toLongLong();
  if (header.version < kFirstVersionWithRegions) {
    header.error = QStringLiteral(
                       "X-Plane data of version %1 is refused: versions before %2 have no ICAO region column, "
                       "which gives the country code; use data of version %2 or later")
                       .arg(header.version)
                       .arg(kFirstVersionWithRegions);
    return header;
  }
  header.bodyStart = afterSecond;
  header.bodyLine = 3;
  return header;
}

}  // namespace skelvor::detail
