#include "fixgen.h"

#include "territory.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace skelvor {

namespace {

// A small generator with a fixed sequence on every platform (SplitMix64), unlike the standard distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }

  /// A whole number from 0 to `bound` - 1.
  std::uint64_t below(std::uint64_t bound) { return next() % bound; }

  /// A number from `low` to `high`.
  double between(double low, double high) {
    return low + (high - low) * static_cast<double>(next() >> 11) / static_cast<double>(1ull << 53);
  }

 private:
  std::uint64_t state_;
};

struct Country {
  QByteArray code;
  double latitude;
  double longitude;
};

}  // namespace

GeneratedFixFile generateWaypointFile(const WaypointFileShape& shape) {
  TerritoryTable table;
  fillTerritories(table);
  Random random(20240611);

  const auto countryCount =
      static_cast<std::size_t>(std::clamp<qsizetype>(shape.countries, 1, static_cast<qsizetype>(kLastTerritorySlot)));
  std::vector<Country> countries;
  for (std::size_t slot = 1; slot <= countryCount; ++slot) {
    countries.push_back(
        {table[slot].section(u'|', 0, 0).toLatin1(), random.between(-60.0, 70.0), random.between(-170.0, 170.0)});
  }

  // One country index per line: the largest country first, the rest dealt out in turn, then shuffled so that the
  // countries mix through the file as in a file sorted by ident.
  const auto lineCount = static_cast<std::size_t>(std::max<qsizetype>(shape.lines, 0));
  const auto largest = std::min(static_cast<std::size_t>(std::max<qsizetype>(shape.largestCountryLines, 0)), lineCount);
  std::vector<std::size_t> owners(lineCount, 0);
  for (std::size_t i = largest; i < lineCount; ++i)
    owners[i] = countryCount == 1 ? 0 : 1 + (i - largest) % (countryCount - 1);
  for (std::size_t i = lineCount; i > 1; --i) std::swap(owners[i - 1], owners[random.below(i)]);

  GeneratedFixFile file;
  file.largestCode = QString::fromLatin1(countries.front().code);
  file.bytes.reserve(static_cast<qsizetype>(lineCount) * 36);
  char line[96];
  for (const std::size_t owner : owners) {
    const Country& country = countries[owner];
    char ident[6];
    for (std::size_t k = 0; k < 5; ++k) ident[k] = static_cast<char>('A' + random.below(26));
    ident[5] = '\0';
    const double latitude = std::clamp(country.latitude + random.between(-8.0, 8.0), -89.9, 89.9);
    const double longitude = std::clamp(country.longitude + random.between(-10.0, 10.0), -179.9, 179.9);
    const int length =
        std::snprintf(line, sizeof line, "%s;%s;%.7f;%.7f\r\n", ident, country.code.constData(), latitude, longitude);
    file.bytes.append(line, length);
  }
  return file;
}

}  // namespace skelvor
