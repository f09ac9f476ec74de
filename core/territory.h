#pragma once

#include <QString>
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

}  // namespace skelvor
