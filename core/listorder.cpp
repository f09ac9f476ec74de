#include "listorder.h"

#include "countryrows.h"
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
constexpr std::size_t kLatin1Count = 0x100;
constexpr std::size_t kPrefixBytes = 8;
// The fewest items a thread of its own takes in the presort and the check: fewer are not worth starting one.
constexpr qsizetype kMinimumPart = 20000;

// An item's place in the presort: the first bytes of its key as one number, the four bytes that follow them as
// another, and its place in the list. Both hold zero bytes once the key ends. A list holds fewer than 2^32 items: a fix
// file of that many lines would not fit in memory.
struct KeyEntry {
  std::uint64_t prefix;
  std::uint32_t next;
  std::uint32_t index;
};

// The items of a plain list, as the presort reads them.
struct ListItems {
  const QStringList& items;
  qsizetype size() const { return items.size(); }
  QStringView text(qsizetype index) const { return items.at(index); }
  bool mayGoBeyondLatin1() const { return true; }
};

// A country's rows: the presort reads their compact text, which differs from the whole text only by the length of the
// run of spaces, and its key takes a run as one space anyway. Each text is written out when asked for, into one of two
// rooms in turn, so that two texts can be compared.
struct CompactItems {
  const CountryRows& rows;
  mutable std::array<CountryRows::Room, 2> rooms{};
  mutable std::size_t next = 0;
  qsizetype size() const { return rows.size(); }
  QStringView text(qsizetype index) const {
    next ^= 1;
    return rows.compact(index, rooms[next]);
  }
  // Rows of ASCII lines hold ASCII text only, which saves writing out every row to look.
  bool mayGoBeyondLatin1() const { return !rows.isAscii(); }
};

// Marks in `rank` every character beyond Latin-1 that occurs in `items`.
template <typename Items>
void markCharactersBeyondLatin1(const Items& items, std::vector<std::uint32_t>& rank) {
  for (qsizetype i = 0; i < items.size(); ++i)
    for (const QChar c : items.text(i))
      if (c.unicode() >= kLatin1Count) rank[c.unicode()] = 1;
}

// Gives every Latin-1 character and every other character marked in `rank` its rank: 1 for the first in the
// collator's order, the same rank for characters that compare equal, 0 for characters that the collator ignores.
// Returns the highest rank.
std::uint32_t rankCharacters(const QCollator& collator, std::vector<std::uint32_t>& rank) {
  std::vector<QString> present;
  for (std::size_t c = 0; c < kCharacterCount; ++c)
    if (c < kLatin1Count || rank[c] != 0) present.emplace_back(QChar(static_cast<char16_t>(c)));
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

// Sorts `entries` by prefix, keeping the order of equal prefixes (least significant byte first, one pass per byte
// that varies).
void radixSortByPrefix(std::vector<KeyEntry>& entries) {
  const std::size_t n = entries.size();
  std::array<std::array<std::size_t, 256>, kPrefixBytes> counts{};
  for (const KeyEntry& e : entries)
    for (std::size_t b = 0; b < kPrefixBytes; ++b) ++counts[b][(e.prefix >> (8 * b)) & 0xFF];
  std::vector<KeyEntry> scratch;
  for (std::size_t b = 0; b < kPrefixBytes; ++b) {
    auto& count = counts[b];
    if (std::find(count.begin(), count.end(), n) != count.end()) continue;  // every entry has the same byte here
    if (scratch.empty()) scratch.resize(n);
    std::size_t sum = 0;
    for (std::size_t& c : count) sum += std::exchange(c, sum);
    for (const KeyEntry& e : entries) scratch[count[(e.prefix >> (8 * b)) & 0xFF]++] = e;
    entries.swap(scratch);
  }
}

// The items in the order of their keys, then of their place in the list: sorted by the first bytes of the keys, and
// the items whose first bytes tie by their whole keys.
template <int Width, typename Items>
std::vector<qsizetype> sortByKeys(const Items& items, const std::vector<std::uint32_t>& rankOf) {
  const std::uint32_t* const rank = rankOf.data();
  std::vector<KeyEntry> entries(static_cast<std::size_t>(items.size()));
  inParallel(items.size(), kMinimumPart, [&](qsizetype, qsizetype first, qsizetype last) {
    const Items partItems = items;  // rooms of the part's own
    for (qsizetype i = first; i < last; ++i) {
      KeyReader<Width> key(partItems.text(i), rank);
      const auto bytes = [&key](std::size_t count) {
        std::uint64_t read = 0;
        for (std::size_t k = 0; k < count; ++k) read = (read << 8) | static_cast<std::uint8_t>(std::max(key.next(), 0));
        return read;
      };
      const std::uint64_t prefix = bytes(kPrefixBytes);
      entries[static_cast<std::size_t>(i)] = {prefix, static_cast<std::uint32_t>(bytes(4)),
                                              static_cast<std::uint32_t>(i)};
    }
  });
  // The bytes after a key's end are zero, which a longer key may hold too: keys that differ there are in order, and
  // the others are compared whole, a key that is the start of the other first. Most ties of the first bytes are
  // settled by the next four, without reading the items, which lie out of the order of the entries by now.
  radixSortByPrefix(entries);
  const auto byWholeKey = [&items, rank](const KeyEntry& a, const KeyEntry& b) {
    if (a.next != b.next) return a.next < b.next;
    const int c = compareKeys<Width>(items.text(a.index), items.text(b.index), rank);
    return c < 0 || (c == 0 && a.index < b.index);
  };
  for (auto first = entries.begin(); first != entries.end();) {
    const auto last =
        std::find_if(first, entries.end(), [first](const KeyEntry& e) { return e.prefix != first->prefix; });
    if (last - first > 1) std::sort(first, last, byWholeKey);
    first = last;
  }
  std::vector<qsizetype> order;
  order.reserve(entries.size());
  for (const KeyEntry& entry : entries) order.push_back(entry.index);
  return order;
}

// A collator of the same locale and settings as `collator`, with state of its own, for a thread of its own.
QCollator twin(const QCollator& collator) {
  QCollator copy(collator.locale());
  copy.setCaseSensitivity(collator.caseSensitivity());
  copy.setNumericMode(collator.numericMode());
  copy.setIgnorePunctuation(collator.ignorePunctuation());
  return copy;
}

template <typename Items>
std::vector<qsizetype> presort(const QCollator& collator, const Items& items) {
  // Lists nearly always hold Latin-1 text only: then the Latin-1 ranks serve.
  std::vector<std::uint32_t> rank(kCharacterCount, 0);
  if (items.mayGoBeyondLatin1()) markCharactersBeyondLatin1(items, rank);
  const std::uint32_t highest = rankCharacters(collator, rank);
  if (highest < 0x100) return sortByKeys<1>(items, rank);
  if (highest < 0x10000) return sortByKeys<2>(items, rank);
  return sortByKeys<3>(items, rank);
}

// The places 0 to n - 1, which `before`, a strict total order, nearly keeps, in its exact order, with work that grows
// with how far they are from it: the ordered runs they hold are merged pairwise until one is left. Empty when they are
// in order already. Parts of the places are checked on threads of their own, each with the comparison
// `makeBefore(part)` makes, which has state of its own; part 0 is the calling thread's. `prefetch` is told each place a
// few steps before the check reads it.
template <typename MakeBefore, typename Prefetch>
std::vector<qsizetype> mergeRuns(qsizetype n, const MakeBefore& makeBefore, const Prefetch& prefetch) {
  // Whether each place starts an ordered run, as each part of the places finds it.
  std::vector<char> startsRun(static_cast<std::size_t>(n), 0);
  inParallel(n, kMinimumPart, [&](qsizetype part, qsizetype first, qsizetype last) {
    constexpr qsizetype kAhead = 8;
    auto before = makeBefore(part);
    for (qsizetype i = first; i < std::min(last, first + kAhead); ++i) prefetch(i);
    for (qsizetype i = std::max<qsizetype>(first, 1); i < last; ++i) {
      if (i + kAhead < last) prefetch(i + kAhead);
      startsRun[static_cast<std::size_t>(i)] = !before(i - 1, i);
    }
  });
  std::vector<qsizetype> bounds{0};
  for (qsizetype i = 1; i < n; ++i)
    if (startsRun[static_cast<std::size_t>(i)] != 0) bounds.push_back(i);
  if (bounds.size() == 1) return {};
  bounds.push_back(n);
  std::vector<qsizetype> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::vector<qsizetype> merged(order.size());
  auto before = makeBefore(0);
  const auto inOrder = [&before](qsizetype a, qsizetype b) { return before(a, b); };
  while (bounds.size() > 2) {
    std::vector<qsizetype> next{0};
    for (std::size_t r = 0; r + 1 < bounds.size(); r += 2) {
      const auto first = order.begin() + bounds[r];
      const auto middle = order.begin() + bounds[r + 1];
      const auto out = merged.begin() + bounds[r];
      if (r + 2 < bounds.size()) {
        std::merge(first, middle, middle, order.begin() + bounds[r + 2], out, inOrder);
        next.push_back(bounds[r + 2]);
      } else {
        std::copy(first, middle, out);
        next.push_back(bounds[r + 1]);
      }
    }
    order.swap(merged);
    bounds.swap(next);
  }
  return order;
}

}  // namespace

ListOrder::ListOrder() { collator_.setCaseSensitivity(Qt::CaseInsensitive); }

ListOrder::ListOrder(const QLocale& locale) : collator_(locale) { collator_.setCaseSensitivity(Qt::CaseInsensitive); }

bool ListOrder::less(const QString& a, const QString& b) const { return collator_.compare(a, b) < 0; }

QStringList ListOrder::sorted(QStringList items) const {
  std::vector<qsizetype> order = presort(collator_, ListItems{items});
  const auto at = [&](qsizetype place) -> const QString& { return items.at(order[static_cast<std::size_t>(place)]); };
  const std::vector<qsizetype> places = mergeRuns(
      items.size(),
      [&](qsizetype part) {
        return [&, collator = part == 0 ? collator_ : twin(collator_)](qsizetype a, qsizetype b) {
          const int c = collator.compare(at(a), at(b));
          return c < 0 || (c == 0 && order[static_cast<std::size_t>(a)] < order[static_cast<std::size_t>(b)]);
        };
      },
      [](qsizetype) {});
  QStringList result;
  result.reserve(items.size());
  for (qsizetype i = 0; i < items.size(); ++i) {
    const qsizetype place = places.empty() ? i : places[static_cast<std::size_t>(i)];
    result.append(std::move(items[order[static_cast<std::size_t>(place)]]));
  }
  return result;
}

namespace {

// The check's comparison of a country's rows at two places: `collator` compares their whole texts, written out for it,
// and rows that compare equal keep the order of `order`, their file order. The check compares each row with the next,
// so the row written out as the second of one comparison is kept for the first of the next.
class RowsBefore {
 public:
  RowsBefore(const CountryRows& rows, const std::vector<qsizetype>& order, const QCollator& collator)
      : rows_(rows), order_(order), collator_(collator) {}
  bool operator()(qsizetype a, qsizetype b) {
    std::size_t slotA = slotOf(a);
    std::size_t slotB = slotOf(b);
    if (slotA == kNone) slotA = writeOut(a, slotB);
    if (slotB == kNone) slotB = writeOut(b, slotA);
    const int c = collator_.compare(texts_[slotA], texts_[slotB]);
    return c < 0 || (c == 0 && order_[static_cast<std::size_t>(a)] < order_[static_cast<std::size_t>(b)]);
  }

 private:
  static constexpr std::size_t kNone = 2;
  std::size_t slotOf(qsizetype place) const { return held_[0] == place ? 0 : held_[1] == place ? 1 : kNone; }
  std::size_t writeOut(qsizetype place, std::size_t otherSlot) {
    const std::size_t slot = otherSlot == 0 ? 1 : 0;
    held_[slot] = place;
    texts_[slot] = rows_.item(place, rooms_[slot]);
    return slot;
  }

  const CountryRows& rows_;
  const std::vector<qsizetype>& order_;
  QCollator collator_;
  std::array<CountryRows::Room, 2> rooms_;
  std::array<QStringView, 2> texts_;
  std::array<qsizetype, 2> held_ = {-1, -1};
};

}  // namespace

CountryRows ListOrder::sortedRows(const CountryRows& rows) const {
  // The rows in the order of the presort, with the file order of each: reading them in that order, as the check does,
  // reads where they start straight through.
  const std::vector<qsizetype> order = presort(collator_, CompactItems{rows});
  const CountryRows presorted = rows.inOrder(order);
  const std::vector<qsizetype> places = mergeRuns(
      presorted.size(),
      [&](qsizetype part) { return RowsBefore(presorted, order, part == 0 ? collator_ : twin(collator_)); },
      [&presorted](qsizetype place) { presorted.prefetchLine(place); });
  return places.empty() ? presorted : presorted.inOrder(places);
}

qsizetype ListOrder::insertionPlace(const QStringList& items, const QString& text) const {
  const auto place = std::upper_bound(items.begin(), items.end(), text,
                                      [this](const QString& a, const QString& b) { return less(a, b); });
  return place - items.begin();
}

}  // namespace skelvor
