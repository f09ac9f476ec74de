#include "territory.h"

#include "listtext.h"

namespace skelvor {

namespace {

// ICAO nationality prefixes as the fix files carry them, with the names the user picks from. A country with several
// prefixes has one name per prefix, mostly with a number after it; the numbering and its gaps are part of the names.
// "Fl" (Mauritius) and "FL" (Zambia) differ only by case. "CY|Canada" comes after the first ones, out of code order.
//
// The entries after "CY|Canada" are the codes that real fix data carries and the first ones lack: the contiguous
// United States (K1 to K7), Australia (YB, YM), and the further codes found in the airports and navaids of the
// OurAirports data (ourairports.com, public domain). Each is named after the countries that its airports lie in
// according to that data's countries.csv, with the code added where the country already has a name or owns several
// codes, so that every name stays unique. "FI" is the real prefix of Mauritius, beside the older "Fl".
constexpr std::array<const char*, kLastTerritorySlot> kEntries = {
    "AG|Solomon Islands",
    "AN|Nauru",
    "AY|Papua New Guinea",
    "BG|Greenland",
    "BI|Iceland",
    "BK|Kosovo",
    "DA|Algeria",
    "DB|Benin",
    "DF|Burkina Faso",
    "DG|Ghana",
    "DI|Ivory Coast",
    "DN|Nigeria",
    "DR|Niger",
    "DT|Tunisia",
    "DX|Togo",
    "EB|Belgium",
    "ED|Germany Civil",
    "EE|Estonia",
    "EF|Finland",
    "EG|United Kingdom",
    "EH|Netherlands",
    "EI|Ireland",
    "EK|Denmark",
    "EL|Luxembourg",
    "EN|Norway",
    "EP|Poland",
    "ES|Sweden",
    "ET|Germany Military",
    "EV|Latvia",
    "EY|Lithuania",
    "FA|South Africa",
    "FB|Botswana",
    "FC|Congo, Republic of the",
    "FD|Swaziland",
    "FE|Central African Republic",
    "FG|Equatorial Guinea",
    "FK|Cameroon",
    "Fl|Mauritius",
    "FL|Zambia",
    "FN|Angola",
    "FO|Gabon",
    "FP|Sao Tome and Principe",
    "FQ|Mozambique",
    "FS|Seychelles",
    "FT|Chad",
    "FV|Zimbabwe",
    "FW|Malawi",
    "FX|Lesotho",
    "FY|Namibia",
    "FZ|Congo, Democratic Republic of the",
    "GA|Mali",
    "GB|Gambia",
    "GC|Spain 01",
    "GE|Spain 02",
    "GF|Sierra Leone",
    "GG|Guinea-Bissau",
    "GL|Liberia",
    "GM|Morocco",
    "GO|Senegal",
    "GQ|Mauritania",
    "GU|Guinea",
    "GV|Cape Verde",
    "HA|Ethiopia",
    "HB|Burundi",
    "HC|Somalia",
    "HD|Djibouti",
    "HE|Egypt",
    "HH|Eritrea",
    "HK|Kenya",
    "HL|Libya",
    "HR|Rwanda",
    "HS|Sudan",
    "HT|Tanzania",
    "HU|Uganda",
    "LA|Albania",
    "LB|Bulgaria",
    "LC|Cyprus",
    "LD|Croatia",
    "LE|Spain",
    "LF|France",
    "LG|Greece",
    "LH|Hungary",
    "LI|Italy",
    "LJ|Slovenia",
    "LK|Czech Republic",
    "LL|Israel",
    "LM|Malta",
    "LO|Austria",
    "LP|Portugal",
    "LQ|Bosnia and Herzegovina",
    "LR|Romania",
    "LS|Switzerland",
    "LT|Turkey",
    "LU|Moldova",
    "LW|Macedonia",
    "LX|United Kingdom 01",
    "LY|Serbia and Montenegro",
    "LZ|Slovakia",
    "MB|Turks and Caicos Islands",
    "MD|Dominican Republic",
    "MG|Guatemala",
    "MH|Honduras",
    "MK|Jamaica",
    "MM|Mexico",
    "MN|Nicaragua",
    "MP|Panama",
    "MR|Costa Rica",
    "MS|El Salvador",
    "MT|Haiti",
    "MU|Cuba",
    "MW|Cayman Islands",
    "MY|Bahamas",
    "MZ|Belize",
    "NC|Cook Islands",
    "NF|Fiji",
    "NG|Kiribati 01",
    "NI|Niue",
    "NL|New Caledonia & Wallis and Futuna 01",
    "NT|French Polynesia",
    "NV|Vanuatu",
    "NW|New Caledonia & Wallis and Futuna 02",
    "NZ|New Zealand",
    "OA|Afghanistan",
    "OB|Bahrain",
    "OE|Saudi Arabia",
    "OI|Iran",
    "OJ|Jordan",
    "OK|Kuwait",
    "OL|Lebanon",
    "OM|United Arab Emirates",
    "OO|Oman",
    "OP|Pakistan",
    "OR|Iraq",
    "OS|Syria",
    "OT|Qatar",
    "OY|Yemen",
    "PA|United States 02",
    "PB|United States 03",
    "PF|United States 04",
    "PG|United States 05",
    "PH|United States 06",
    "PJ|United States 07",
    "PK|United States 08",
    "PL|Kiribati",
    "PM|United States 10",
    "PO|United States 11",
    "PP|United States 12",
    "PT|United States 13",
    "PW|United States 14",
    "RC|Taiwan",
    "RJ|Japan 01",
    "RK|Korea, South",
    "RO|Japan 02",
    "RP|Philippines",
    "SA|Argentina",
    "SB|Brazil 01",
    "SC|Chile",
    "SD|Brazil 02",
    "SE|Ecuador",
    "SG|Paraguay",
    "SH|Chile 02",
    "SI|Brazil 03",
    "SJ|Brazil 04",
    "SK|Colombia 01",
    "SL|Bolivia",
    "SM|Suriname",
    "SN|Brazil 05",
    "SO|French Guiana",
    "SP|Peru",
    "SQ|Colombia",
    "SS|Brazil 06",
    "SU|Uruguay",
    "SV|Venezuela",
    "SW|Brazil 07",
    "SY|Guyana",
    "TA|Eastern Caribbean 01",
    "TB|Barbados",
    "TD|Eastern Caribbean 02",
    "TF|French Antilles",
    "TG|Eastern Caribbean 03",
    "TI|United States 15",
    "TJ|United States 16",
    "TK|Eastern Caribbean 04",
    "TL|Eastern Caribbean 05",
    "TN|Dutch Caribbean",
    "TQ|Eastern Caribbean 06",
    "TR|Eastern Caribbean 07",
    "TT|Eastern Caribbean 08",
    "TU|Eastern Caribbean 09",
    "TV|Eastern Caribbean 10",
    "TX|Bermuda",
    "UA|Kazakhstan",
    "UB|Azerbaijan",
    "UC|Kyrgyzstan",
    "UD|Armenia",
    "UE|Russian Federation 01",
    "UG|Georgia",
    "UH|Russian Federation 02",
    "UI|Russian Federation 03",
    "UK|Ukraine",
    "UL|Russian Federation 04",
    "UM|Belarus",
    "UN|Russian Federation 06",
    "UO|Russian Federation 07",
    "UR|Russian Federation 08",
    "US|Russian Federation 09",
    "UT|Uzbekistan",
    "UU|Russian Federation 10",
    "UW|Russian Federation 11",
    "VA|India 01",
    "VC|Sri Lanka",
    "VD|Cambodia",
    "VE|India 02",
    "VG|Bangladesh",
    "VH|Hong Kong",
    "VI|India 03",
    "VL|Laos",
    "VM|Macao",
    "VN|Nepal",
    "VO|India 04",
    "VQ|Bhutan",
    "VR|Maldives",
    "VT|Thailand",
    "VV|Vietnam",
    "VY|Myanmar",
    "WA|Indonesia 01",
    "WB|Malaysia 01",
    "WI|Indonesia 02",
    "WM|Malaysia 02",
    "WP|East Timor",
    "WR|Indonesia 03",
    "WS|Singapore",
    "ZB|China 01",
    "ZG|China 02",
    "ZH|China 03",
    "ZJ|China 04",
    "ZK|Korea north",
    "ZL|China 05",
    "ZM|Mongolia",
    "ZP|China 06",
    "ZS|China 07",
    "ZT|China 08",
    "ZU|China 09",
    "ZW|China 10",
    "ZY|China 11",
    "CY|Canada",
    "AA|Antarctica AA",
    "AQ|Antarctica AQ",
    "AT|Papua New Guinea AT",
    "BU|United States BU",
    "DM|Nigeria DM",
    "FH|Saint Helena, Ascension and Tristan da Cunha",
    "FI|Mauritius FI",
    "FJ|British Indian Ocean Territory",
    "FM|Madagascar, Comoros & Reunion",
    "GX|Guinea GX",
    "HJ|South Sudan",
    "K1|United States K1",
    "K2|United States K2",
    "K3|United States K3",
    "K4|United States K4",
    "K5|United States K5",
    "K6|United States K6",
    "K7|United States K7",
    "ML|Marshall Islands & Costa Rica ML",
    "MX|Mexico MX",
    "NS|Samoa & American Samoa",
    "OZ|Australia OZ",
    "PC|Kiribati PC",
    "SF|Falkland Islands",
    "ST|Brazil ST",
    "TC|Australia TC",
    "UZ|Uzbekistan UZ",
    "XA|Kazakhstan XA",
    "XH|Russian Federation XH",
    "XI|Russian Federation XI",
    "XL|Russian Federation XL",
    "XN|Russian Federation XN",
    "XR|Russian Federation XR",
    "XS|Russian Federation XS",
    "XW|Russian Federation XW",
    "YB|Australia YB",
    "YM|Australia YM",
    "ZZ|China ZZ",
};

// Splits an entry at its bar: the code before it, the name after it.
std::pair<QStringView, QStringView> splitEntry(const QString& entry) {
  const qsizetype bar = entry.indexOf(u'|');
  if (bar < 0) return {QStringView(entry), QStringView()};
  const QStringView view(entry);
  return {view.first(bar), view.sliced(bar + 1)};
}

}  // namespace

void fillTerritories(TerritoryTable& table) {
  for (std::size_t slot = 1; slot <= kLastTerritorySlot; ++slot) table[slot] = QString::fromLatin1(kEntries[slot - 1]);
}

std::optional<QString> countryName(const TerritoryTable& table, QStringView code) {
  for (std::size_t slot = 1; slot <= kLastTerritorySlot; ++slot) {
    // The code is the entry's text before its bar.
    const QString& entry = table[slot];
    if (entry.size() > code.size() && entry.at(code.size()) == u'|' && entry.startsWith(code))
      return entry.sliced(code.size() + 1);
  }
  return std::nullopt;
}

std::optional<QString> countryCode(const TerritoryTable& table, QStringView name) {
  for (std::size_t slot = 1; slot <= kLastTerritorySlot; ++slot) {
    const auto [slotCode, slotName] = splitEntry(table[slot]);
    if (slotName == name && !table[slot].isEmpty()) return slotCode.toString();
  }
  return std::nullopt;
}

std::optional<QString> codeOfName(const QStringList& codes, const TerritoryTable& table, const QString& name) {
  // The name list holds the names of the codes that the table knows exactly, so a name picks its code as the table
  // writes it.
  std::optional<QString> code = countryCode(table, name);
  if (!code || !codes.contains(*code)) return std::nullopt;
  return code;
}

CountryPick pickCountry(const QStringList& codes, const TerritoryTable& table, const QString& typed) {
  const qsizetype item = pickedItem(codes, typed);
  if (item >= 0) return {codes.at(item), {}};
  if (std::optional<QString> code = codeOfName(codes, table, typed)) return {std::move(code), {}};
  if (const auto code = countryCode(table, typed))
    return {std::nullopt, QStringLiteral("%1 (code %2) is not in the file").arg(typed, *code)};
  if (countryName(table, typed))
    return {std::nullopt, QStringLiteral("the country code %1 is not in the file").arg(typed)};
  return {std::nullopt,
          QStringLiteral("\"%1\" is neither a country code of the file nor a country name of the territory table")
              .arg(typed)};
}

}  // namespace skelvor
