#include "listorder.h"

#include "parallel.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <utility>

namespace skelvor {

// Sorting a list
//
// The order is the collator's comparison of whole items, letter case ignored, with ties kept in the order the items
// came. Sorting by that comparison alone costs a collator call per step of the sort; the collator's sort keys are slow
// to build for long items (a result row carries 120 spaces and its coordinates) and, in the C locale, keep letter case.
// So the items are first put in order by a cheap key, and that order is then checked, and where needed corrected, with
// the collator itself:
//
// 1. Presort. Every character that occurs is ranked once by the collator, as a one-character text: characters that
//    compare equal (such as "a" and "A") share a rank, and characters that the collator ignores get none. An item's
//    key is the sequence of the ranks of its characters, a run of spaces counting as one space. The items are sorted
//    by key, then by their place in the list. For the texts that the lists hold this is nearly always the collator's
//    order already.
// 2. Check and repair. The presorted sequence is cut into runs in which each item comes before the next by the exact
//    rule (the collator, then the place in the list), with one collator call per neighbour. One run means the order is
//    right; otherwise the runs are merged by the exact rule, as a merge sort does. Either way the result is exactly the
//    collator's order with ties in list order; the presort only decides how much work the check leaves.
//
// A long list's keys are made, and its neighbours checked, a part at a time on threads of their own.

namespace {

constexpr std::size_t kCharacterCount = 0x10000;
constexpr std::size_t kPrefixBytes = 12;
// The fewest items a thread of its own takes in the presort and the check: fewer are not worth starting one.
constexpr qsizetype kMinimumPart = 20000;

// An item's place in the presort: the first bytes of its key as numbers, zero bytes once the key ends, and its place
// in the list. A list holds fewer than 2^32 items: a fix file of that many lines would not fit in memory. Twelve bytes
// take a waypoint's name and the start of its latitude, where eight leave the rows of the same name tied, each tie then
// read again from its line: skelvor-export of the 2,850,000 rows of bench/large_country.sh takes 1.21 to 1.50 s with
// twelve and 1.46 to 1.71 s with eight, against a target of 1.5 s (en_US). The entry takes sixteen bytes either way.
struct KeyEntry {
  std::uint64_t high;  // the first eight bytes, the first one most significant
  std::uint32_t low;   // the next four
  std::uint32_t index;

  // Byte `b` of the prefix, counted from its least significant end.
  unsigned byte(std::size_t b) const {
    return static_cast<unsigned>((b < 4 ? low >> (8 * b) : high >> (8 * (b - 4))) & 0xFF);
  }
  bool samePrefix(const KeyEntry& other) const { return high == other.high && low == other.low; }
};

// Marks in `rank` every Latin-1 character, and every other character that occurs in the compact texts of `items`. Each
// item is read only where one may hold a character beyond Latin-1: the rows of an ASCII file are not, which saves a
// pass over lines that lie out of the cache. The pick of the benchmarks' largest country (50,000 rows of a
// 300,000-line file) takes 14 to 17 ms with this and 15 to 20 ms without, against a target of 20 ms (en_US).
void markCharacters(const ListItems& items, std::vector<std::uint32_t>& rank) {
  std::fill(rank.begin(), rank.begin() + 0x100, 1);
  if (!items.mayGoBeyondLatin1()) return;
  QString room;
  for (qsizetype i = 0; i < items.size(); ++i)
    for (const QChar c : items.compact(i, room)) rank[c.unicode()] = 1;
}

// Gives every character marked in `rank` its rank: 1 for the first in the collator's order, the same rank for
// characters that compare equal, 0 for characters that the collator ignores. Returns the highest rank.
std::uint32_t rankCharacters(const QCollator& collator, std::vector<std::uint32_t>& rank) {
  std::vector<QString> present;
  for (std::size_t c = 0; c < kCharacterCount; ++c)
    if (rank[c] != 0) present.emplace_back(QChar(static_cast<char16_t>(c)));
  std::sort(present.begin(), present.end(),
            [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
  const QString base = QStringLiteral("a");
  std::uint32_t highest = 0;
  const QString* previous = nullptr;
  for (const QString& c : present) {
    std::uint32_t& r = rank[c.at(0).unicode()];
    if (collator.compare(base + c, base) == 0) {
      r = 0;
      continue;
    }
    if (previous == nullptr || collator.compare(*previous, c) != 0) ++highest;
    r = highest;
    previous = &c;
  }
  return highest;
}

// Reads the key of an item a byte at a time: the rank of each character in `Width` bytes, most significant first,
// ignored characters left out and a run of spaces taken as one space. Keys are made as they are read, so an item is
// read only as far as its order needs.
template <int Width>
class KeyReader {
 public:
  KeyReader(QStringView text, const std::uint32_t* rank)
      : p_(text.utf16()), end_(text.utf16() + text.size()), rank_(rank) {}

  /// The next byte of the key, or -1 at its end.
  int next() {
    if (byte_ == Width) {
      std::uint32_t r = 0;
      while (r == 0) {
        if (p_ == end_) return -1;
        const char16_t c = *p_++;
        r = rank_[c];
        while (c == u' ' && p_ != end_ && *p_ == u' ') ++p_;
      }
      rank_at_ = r;
      byte_ = 0;
    }
    return static_cast<int>((rank_at_ >> (8 * (Width - 1 - byte_++))) & 0xFF);
  }

 private:
  const char16_t* p_;
  const char16_t* end_;
  const std::uint32_t* rank_;
  std::uint32_t rank_at_ = 0;
  int byte_ = Width;
};

// Compares two keys by their bytes, a key that is the start of the other first: below, at or above 0 as `a` comes
// before, ties with or comes after `b`.
template <int Width>
int compareKeys(QStringView a, QStringView b, const std::uint32_t* rank) {
  KeyReader<Width> ka(a, rank);
  KeyReader<Width> kb(b, rank);
  for (;;) {
    const int x = ka.next();
    const int y = kb.next();
    if (x != y || x < 0) return x - y;
  }
}

// Sorts `entries` by prefix, keeping the order of equal prefixes: least significant byte first, one counting pass per
// byte that varies. On 50,000 rows std::sort does as well; skelvor-export of the 2,850,000 rows of
// bench/large_country.sh takes 2.3 to 2.5 s with this and the sixteen-byte column split, 2.8 to 2.9 s with neither,
// against a target of 1.5 s (en_US).
void radixSortByPrefix(std::vector<KeyEntry>& entries) {
  const std::size_t n = entries.size();
  std::array<std::array<std::size_t, 256>, kPrefixBytes> counts{};
  for (const KeyEntry& e : entries)
    for (std::size_t b = 0; b < kPrefixBytes; ++b) ++counts[b][e.byte(b)];
  std::vector<KeyEntry> scratch;
  for (std::size_t b = 0; b < kPrefixBytes; ++b) {
    auto& count = counts[b];
    if (std::find(count.begin(), count.end(), n) != count.end()) continue;  // every entry has the same byte here
    if (scratch.empty()) scratch.resize(n);
    std::size_t sum = 0;
    for (std::size_t& c : count) sum += std::exchange(c, sum);
    for (const KeyEntry& e : entries) scratch[count[e.byte(b)]++] = e;
    entries.swap(scratch);
  }
}

// The places of the items in the order of their keys, then of their place in the list: sorted by the first bytes of
// the keys, and the items whose first bytes tie by their whole keys.
template <int Width>
std::vector<qsizetype> sortByKeys(const ListItems& items, const std::vector<std::uint32_t>& rankOf) {
  const std::uint32_t* const rank = rankOf.data();
  std::vector<KeyEntry> entries(static_cast<std::size_t>(items.size()));
  inParallel(items.size(), kMinimumPart, [&](qsizetype, qsizetype first, qsizetype last) {
    QString room;
    for (qsizetype i = first; i < last; ++i) {
      KeyReader<Width> key(items.compact(i, room), rank);
      const auto nextByte = [&key] { return static_cast<std::uint8_t>(std::max(key.next(), 0)); };
      std::uint64_t high = 0;
      for (std::size_t k = 0; k < 8; ++k) high = (high << 8) | nextByte();
      std::uint32_t low = 0;
      for (std::size_t k = 8; k < kPrefixBytes; ++k) low = (low << 8) | nextByte();
      entries[static_cast<std::size_t>(i)] = {high, low, static_cast<std::uint32_t>(i)};
    }
  });
  // The bytes after a key's end are zero, which a longer key may hold too: keys that differ in their first bytes are
  // in order, and the others are compared whole, a key that is the start of the other first.
  radixSortByPrefix(entries);
  std::array<QString, 2> rooms;
  const auto byWholeKey = [&](const KeyEntry& a, const KeyEntry& b) {
    const int c = compareKeys<Width>(items.compact(a.index, rooms[0]), items.compact(b.index, rooms[1]), rank);
    return c < 0 || (c == 0 && a.index < b.index);
  };
  for (auto first = entries.begin(); first != entries.end();) {
    const auto last = std::find_if(first, entries.end(), [first](const KeyEntry& e) { return !e.samePrefix(*first); });
    if (last - first > 1) std::sort(first, last, byWholeKey);
    first = last;
  }
  std::vector<qsizetype> order;
  order.reserve(entries.size());
  for (const KeyEntry& entry : entries) order.push_back(entry.index);
  return order;
}

// The places of `items` in the order of their keys.
std::vector<qsizetype> presort(const QCollator& collator, const ListItems& items) {
  std::vector<std::uint32_t> rank(kCharacterCount, 0);
  markCharacters(items, rank);
  const std::uint32_t highest = rankCharacters(collator, rank);
  if (highest < 0x100) return sortByKeys<1>(items, rank);
  if (highest < 0x10000) return sortByKeys<2>(items, rank);
  return sortByKeys<3>(items, rank);
}

// A collator of the same locale and settings as `collator`, with state of its own, for a thread of its own.
QCollator twin(const QCollator& collator) {
  QCollator copy(collator.locale());
  copy.setCaseSensitivity(collator.caseSensitivity());
  copy.setNumericMode(collator.numericMode());
  copy.setIgnorePunctuation(collator.ignorePunctuation());
  return copy;
}

// Whether item `a` comes before item `b` by the exact rule: the collator, then the place each came at in the list,
// order[a] and order[b]. Each comparison writes out both texts, in rooms of its own.
class Before {
 public:
  Before(const ListItems& items, const std::vector<qsizetype>& order, QCollator collator)
      : items_(items), order_(order), collator_(std::move(collator)) {}
  bool operator()(qsizetype a, qsizetype b) {
    const int c = collator_.compare(items_.text(a, rooms_[0]), items_.text(b, rooms_[1]));
    return c < 0 || (c == 0 && order_[static_cast<std::size_t>(a)] < order_[static_cast<std::size_t>(b)]);
  }

 private:
  const ListItems& items_;
  const std::vector<qsizetype>& order_;
  QCollator collator_;
  std::array<QString, 2> rooms_;
};

// The places 0 to n - 1 of `items`, which `collator` nearly keeps, in the exact order (the collator, then the place
// item i came at in the list, order[i]), with work that grows with how far they are from it: the ordered runs they hold
// are found with one comparison of each item with the next, then merged pairwise until one is left. Empty when they
// are in order already.
std::vector<qsizetype> mergeRuns(const ListItems& items, const std::vector<qsizetype>& order,
                                 const QCollator& collator) {
  const auto n = items.size();
  // Whether each place starts an ordered run, as each part of the places finds it.
  std::vector<char> startsRun(static_cast<std::size_t>(n), 0);
  inParallel(n, kMinimumPart, [&](qsizetype part, qsizetype first, qsizetype last) {
    if (first >= last) return;
    const QCollator partCollator = part == 0 ? collator : twin(collator);
    std::array<QString, 2> rooms;
    const qsizetype from = std::max<qsizetype>(first, 1) - 1;
    QStringView previous = items.text(from, rooms[0]);
    constexpr qsizetype kAhead = 8;
    for (qsizetype i = from + 1; i < last; ++i) {
      if (i + kAhead < last) items.willRead(i + kAhead);
      const QStringView current = items.text(i, rooms[static_cast<std::size_t>(i - from) % 2]);
      const int c = partCollator.compare(previous, current);
      startsRun[static_cast<std::size_t>(i)] =
          c > 0 || (c == 0 && order[static_cast<std::size_t>(i - 1)] > order[static_cast<std::size_t>(i)]);
      previous = current;
    }
  });
  std::vector<qsizetype> bounds{0};
  for (qsizetype i = 1; i < n; ++i)
    if (startsRun[static_cast<std::size_t>(i)] != 0) bounds.push_back(i);
  if (bounds.size() == 1) return {};
  bounds.push_back(n);
  std::vector<qsizetype> places(static_cast<std::size_t>(n));
  std::iota(places.begin(), places.end(), 0);
  std::vector<qsizetype> merged(places.size());
  Before before(items, order, collator);
  const auto inOrder = [&before](qsizetype a, qsizetype b) { return before(a, b); };
  while (bounds.size() > 2) {
    std::vector<qsizetype> next{0};
    for (std::size_t r = 0; r + 1 < bounds.size(); r += 2) {
      const auto first = places.begin() + bounds[r];
      const auto middle = places.begin() + bounds[r + 1];
      const auto out = merged.begin() + bounds[r];
      if (r + 2 < bounds.size()) {
        std::merge(first, middle, middle, places.begin() + bounds[r + 2], out, inOrder);
        next.push_back(bounds[r + 2]);
      } else {
        std::copy(first, middle, out);
        next.push_back(bounds[r + 1]);
      }
    }
    places.swap(merged);
    bounds.swap(next);
  }
  return places;
}

// Items in the order of `places`: item i is item places[i] of `items`.
class InOrder : public ListItems {
 public:
  InOrder(const ListItems& items, const std::vector<qsizetype>& places) : items_(items), places_(places) {}
  qsizetype size() const override { return static_cast<qsizetype>(places_.size()); }
  QStringView text(qsizetype i, QString& room) const override {
    return items_.text(places_[static_cast<std::size_t>(i)], room);
  }
  void willRead(qsizetype i) const override { items_.willRead(places_[static_cast<std::size_t>(i)]); }

 private:
  const ListItems& items_;
  const std::vector<qsizetype>& places_;
};

// The items of a plain list.
class StringItems : public ListItems {
 public:
  explicit StringItems(const QStringList& items) : items_(items) {}
  qsizetype size() const override { return items_.size(); }
  QStringView text(qsizetype i, QString&) const override { return items_.at(i); }

 private:
  const QStringList& items_;
};

}  // namespace

ListOrder::ListOrder() { collator_.setCaseSensitivity(Qt::CaseInsensitive); }

ListOrder::ListOrder(const QLocale& locale) : collator_(locale) { collator_.setCaseSensitivity(Qt::CaseInsensitive); }

bool ListOrder::less(const QString& a, const QString& b) const { return collator_.compare(a, b) < 0; }

std::vector<qsizetype> ListOrder::presorted(const ListItems& items) const { return presort(collator_, items); }

std::vector<qsizetype> ListOrder::corrections(const ListItems& items, const std::vector<qsizetype>& cameAt) const {
  return mergeRuns(items, cameAt, collator_);
}

std::vector<qsizetype> ListOrder::placesInOrder(const ListItems& items) const {
  const std::vector<qsizetype> order = presorted(items);
  const std::vector<qsizetype> places = corrections(InOrder(items, order), order);
  if (places.empty()) return order;
  std::vector<qsizetype> result;
  result.reserve(places.size());
  for (const qsizetype place : places) result.push_back(order[static_cast<std::size_t>(place)]);
  return result;
}

QStringList ListOrder::sorted(QStringList items) const {
  const std::vector<qsizetype> places = placesInOrder(StringItems(items));
  QStringList result;
  result.reserve(items.size());
  for (const qsizetype place : places) result.append(std::move(items[place]));
  return result;
}

qsizetype ListOrder::insertionPlace(const QStringList& items, const QString& text) const {
  const auto place = std::upper_bound(items.begin(), items.end(), text,
                                      [this](const QString& a, const QString& b) { return less(a, b); });
  return place - items.begin();
}

}  // namespace skelvor
