#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

namespace skelvor {

/// Index of the last filled slot of the territory table.
inline constexpr std::size_t kLastTerritorySlot = 284;

/// The territory table: slot 0 stays empty, slots 1 to 284 each hold "code|name".
using TerritoryTable = std::array<QString, kLastTerritorySlot + 1>;

/// Slot 246 holds "CY|Canada"; the slots after it hold the codes that real fix data carries besides the first ones.
inline constexpr std::size_t kCanadaSlot = 246;

/// Stores the 284 ICAO nationality prefixes with their display names into slots 1 to 284; slot 0 is not touched.
void fillTerritories(TerritoryTable& table);

/// The name of the first slot whose code equals `code` exactly (case-sensitively), or nothing.
std::optional<QString> countryName(const TerritoryTable& table, QStringView code);

/// The code of the first slot whose name equals `name` exactly (case-sensitively), or nothing.
std::optional<QString> countryCode(const TerritoryTable& table, QStringView name);

/// A country chosen by the user's words: its code as the file holds it, or why there is none.
struct CountryPick {
  std::optional<QString> code;
  QString error;
};

/// The code among `codes` (a file's codes) that choosing the country name `name` picks: the table's code for the
/// name, when the codes hold it exactly as the table writes it.
std::optional<QString> codeOfName(const QStringList& codes, const TerritoryTable& table, const QString& name);

/// Picks a country among `codes` as the window's pickers do: a code as it stands among them (exact case first, else
/// letter case ignored), or a name of the territory table, as codeOfName picks it.
CountryPick pickCountry(const QStringList& codes, const TerritoryTable& table, const QString& typed);

}  // namespace skelvor
