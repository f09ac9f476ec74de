#include "fixlines.h"

#include "nationality.h"
#include "textinput.h"

#include <QSet>

#include <initializer_list>
#include <optional>

namespace skelvor {

namespace {

bool isControl(char16_t c) {
  return c < u' ' || (c >= u'\x7f' && c <= u'\x9f') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Appends `text` to `line` as `fixField` makes it, without an intermediate string.
void appendFixField(QString& line, QStringView text) {
  // Trimming first is the same as trimming after the replacements, which turn controls into spaces.
  const auto blank = [](char16_t c) { return c == u' ' || isControl(c); };
  qsizetype start = 0;
  qsizetype end = text.size();
  while (start < end && blank(text[start].unicode())) ++start;
  while (end > start && blank(text[end - 1].unicode())) --end;
  const qsizetype at = line.size();
  line.resize(at + end - start);
  QChar* out = line.data() + at;
  for (qsizetype i = start; i < end; ++i) {
    const char16_t c = text[i].unicode();
    *out++ = c == u';' ? QChar(u',') : isControl(c) ? QChar(u' ') : QChar(c);
  }
}

// The fields joined with ";", each made fit for a fix file.
QString joinFields(std::initializer_list<QStringView> fields) {
  QString line;
  qsizetype size = 0;
  for (const QStringView field : fields) size += field.size() + 1;
  line.reserve(size);
  bool first = true;
  for (const QStringView field : fields) {
    if (!first) line += u';';
    first = false;
    appendFixField(line, field);
  }
  return line;
}

bool isIcaoIdentifier(QStringView text) {
  if (text.size() != 4) return false;
  for (const QChar c : text)
    if (c < u'A' || c > u'Z') return false;
  return true;
}

// The first of the ICAO code, the GPS code and the ident that is four letters A to Z, or empty.
QString icaoIdentifier(const OurAirportsAirport& airport) {
  for (const QString* candidate : {&airport.icaoCode, &airport.gpsCode, &airport.ident})
    if (isIcaoIdentifier(*candidate)) return *candidate;
  return {};
}

// What becomes of an airport of the given type: nothing stops it, or the reason it is left out.
std::optional<SkipReason> airportTypeReason(QStringView type) {
  if (type == u"large_airport" || type == u"medium_airport" || type == u"small_airport") return std::nullopt;
  if (type == u"closed") return SkipReason::Closed;
  if (type == u"heliport" || type == u"seaplane_base" || type == u"balloonport") return SkipReason::NotAnAirfield;
  return SkipReason::UnknownType;
}

bool isOurAirportsNavaidType(QStringView type) {
  for (const char* known : {"VOR", "VOR-DME", "VORTAC", "DME", "TACAN", "NDB", "NDB-DME"})
    if (type == QLatin1StringView(known)) return true;
  return false;
}

// "usage/power" as the window shows it, or the one that is given, or nothing.
QString usageAndPower(const QString& usage, const QString& power) {
  if (usage.isEmpty() && power.isEmpty()) return {};
  return usage + u'/' + power;
}

// Hundredths of MHz written as MHz with two decimals.
QString megahertz(qint64 hundredths) {
  return QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QChar(u'0'));
}

// Twelve digits hold any radio frequency; a longer number is no frequency.
bool isFrequency(QStringView text) { return text.size() <= 12 && isDigits(text); }

// Tens of kHz written as MHz with two decimals: 11680 gives 116.80.
QString megahertzFromTensOfKhz(QStringView tens) {
  return isFrequency(tens) ? megahertz(tens.toLongLong()) : QString();
}

}  // namespace

QString fixField(QStringView text) {
  QString field;
  appendFixField(field, text);
  return field;
}

QByteArray fixFileBytes(const QStringList& lines) {
  QString text;
  qsizetype size = 0;
  for (const QString& line : lines) size += line.size() + 2;
  text.reserve(size);
  for (const QString& line : lines) {
    text += line;
    text += QLatin1StringView("\r\n");
  }
  return text.toUtf8();
}

QString megahertzFromKhz(QStringView khz) {
  return isFrequency(khz) ? megahertz((khz.toLongLong() + 5) / 10) : QString();
}

AirportLines airportLines(const QList<OurAirportsAirport>& airports) {
  AirportLines out;
  QSet<QString> written;
  written.reserve(airports.size() / 2);
  out.lines.reserve(airports.size() / 2);
  for (const OurAirportsAirport& airport : airports) {
    if (const auto reason = airportTypeReason(airport.type)) {
      out.skipped.append({airport.line, *reason, {}});
      continue;
    }
    const QString icao = icaoIdentifier(airport);
    if (icao.isEmpty()) {
      out.skipped.append({airport.line, SkipReason::NoIcaoIdentifier, {}});
      continue;
    }
    if (written.contains(icao)) {
      out.skipped.append({airport.line, SkipReason::DuplicateIdentifier, {}});
      continue;
    }
    written.insert(icao);
    const QString code = airportCountryCode(icao, airport.isoRegion);
    out.lines.append(joinFields({icao, code, u"A", airport.iataCode, airport.latitude, airport.longitude,
                                 airport.elevation, airport.type, airport.name, airport.municipality}));
    const qsizetype tag = out.written.codes.size();
    out.written.codes.append(code);
    out.written.codeByIdent.insert(airport.ident, code);
    const double latitude = decimalValue(airport.latitude).value_or(0.0);
    const double longitude = decimalValue(airport.longitude).value_or(0.0);
    out.written.byIsoCountry[airport.isoCountry].add(latitude, longitude, tag);
    out.written.anywhere.add(latitude, longitude, tag);
  }
  return out;
}

ConvertedLines navaidLines(const QList<OurAirportsNavaid>& navaids, const WrittenAirports& airports) {
  ConvertedLines out;
  out.lines.reserve(navaids.size());
  for (const OurAirportsNavaid& navaid : navaids) {
    if (!isOurAirportsNavaidType(navaid.type)) {
      out.skipped.append({navaid.line, SkipReason::UnknownType, {}});
      continue;
    }
    QString code = airports.codeByIdent.value(navaid.associatedAirport);
    if (navaid.associatedAirport.isEmpty() || !airports.codeByIdent.contains(navaid.associatedAirport)) {
      const double latitude = decimalValue(navaid.latitude).value_or(0.0);
      const double longitude = decimalValue(navaid.longitude).value_or(0.0);
      const auto country = airports.byIsoCountry.constFind(navaid.isoCountry);
      qsizetype tag = country != airports.byIsoCountry.cend() ? country->nearest(latitude, longitude) : -1;
      if (tag < 0) tag = airports.anywhere.nearest(latitude, longitude);
      if (tag < 0) {
        out.skipped.append({navaid.line, SkipReason::NoCountry, {}});
        continue;
      }
      code = airports.codes[tag];
    }
    const bool kilohertz = navaid.type == u"NDB" || navaid.type == u"NDB-DME";
    const QString frequency = kilohertz ? (isFrequency(navaid.frequencyKhz) ? navaid.frequencyKhz : QString())
                                        : megahertzFromKhz(navaid.frequencyKhz);
    out.lines.append(
        joinFields({navaid.type, code, navaid.ident, frequency, navaid.latitude, navaid.longitude, navaid.elevation,
                    navaid.magneticVariation, usageAndPower(navaid.usageType, navaid.power), navaid.name}));
  }
  return out;
}

ConvertedLines waypointLines(const QList<XPlaneFix>& fixes, bool terminal) {
  ConvertedLines out;
  out.lines.reserve(fixes.size());
  for (const XPlaneFix& fix : fixes) {
    if (fix.region == u"ZZ") {
      out.skipped.append({fix.line, SkipReason::UserDefinedRegion, {}});
      continue;
    }
    if (!terminal && fix.terminalArea != u"ENRT") {
      out.skipped.append({fix.line, SkipReason::TerminalFix, {}});
      continue;
    }
    out.lines.append(joinFields({fix.ident, fix.region, fix.latitude, fix.longitude}));
  }
  return out;
}

ConvertedLines navaidLines(const QList<XPlaneNavaid>& navaids) {
  ConvertedLines out;
  out.lines.reserve(navaids.size());
  for (const XPlaneNavaid& navaid : navaids) {
    const bool ndb = navaid.kind == XPlaneNavaidKind::Ndb;
    const QStringView type = ndb ? u"NDB" : navaid.kind == XPlaneNavaidKind::Vor ? u"VOR" : u"DME";
    const QString frequency = ndb ? navaid.frequency : megahertzFromTensOfKhz(navaid.frequency);
    out.lines.append(joinFields({type, navaid.region, navaid.ident, frequency, navaid.latitude, navaid.longitude,
                                 navaid.elevation, navaid.variation, u"", navaid.name}));
  }
  return out;
}

}  // namespace skelvor
