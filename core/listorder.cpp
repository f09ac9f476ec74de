#include "listorder.h"

#include "countryrows.h"
#include "prefetch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

namespace {

constexpr std::size_t kCharacterCount = 0x10000;
constexpr std::size_t kLatin1Count = 0x100;
constexpr std::size_t kPrefixBytes = 8;

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
  // Plain lists are short (a file's codes, their names): nothing is asked for ahead.
  void prefetchItem(qsizetype) const {}
  void prefetchText(qsizetype) const {}
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
  void prefetchItem(qsizetype index) const { rows.prefetchStart(index); }
  void prefetchText(qsizetype index) const { rows.prefetchLine(index); }
};

// Passes over the run of spaces that starts at `p`. A long run, like the 120 spaces of a result row, is taken to last
// up to the last space of the item, which is found from the end, so that the run itself is not read: the key only
// guides the presort, and the check after it is exact whatever the key says.
const char16_t* skipSpaces(const char16_t* p, const char16_t* end) {
  static constexpr std::array<char16_t, 16> kSpaces = [] {
    std::array<char16_t, 16> spaces{};
    spaces.fill(u' ');
    return spaces;
  }();
  if (end - p >= 16 && std::memcmp(p, kSpaces.data(), sizeof kSpaces) == 0) {
    const char16_t* last = end;
    while (last[-1] != u' ') --last;
    return last;
  }
  while (p != end && *p == u' ') ++p;
  return p;
}

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
        if (c == u' ') p_ = skipSpaces(p_, end_);
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
  std::vector<KeyEntry> entries;
  entries.reserve(static_cast<std::size_t>(items.size()));
  for (qsizetype i = 0; i < items.size(); ++i) {
    KeyReader<Width> key(items.text(i), rank);
    const auto bytes = [&key](std::size_t count) {
      std::uint64_t read = 0;
      for (std::size_t k = 0; k < count; ++k) read = (read << 8) | static_cast<std::uint8_t>(std::max(key.next(), 0));
      return read;
    };
    const std::uint64_t prefix = bytes(kPrefixBytes);
    entries.push_back({prefix, static_cast<std::uint32_t>(bytes(4)), static_cast<std::uint32_t>(i)});
  }
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

// Puts `order` exactly in the order of `before`, a strict total order, with work that grows with how far `order` is
// from it: the ordered runs that `order` holds are merged pairwise until one is left.
// `items` are told, well ahead of the check, which item it reads next: first the item itself, then, once that is at
// hand, the text it points to.
template <typename Before, typename Items>
void mergeRuns(std::vector<qsizetype>& order, Before before, const Items& items) {
  const std::size_t n = order.size();
  std::vector<std::size_t> bounds{0};
  constexpr std::size_t kItemAhead = 16;
  constexpr std::size_t kTextAhead = 8;
  for (std::size_t i = 0; i < std::min(n, kItemAhead); ++i) items.prefetchItem(order[i]);
  for (std::size_t i = 0; i < std::min(n, kTextAhead); ++i) items.prefetchText(order[i]);
  for (std::size_t i = 1; i < n; ++i) {
    if (i + kItemAhead < n) items.prefetchItem(order[i + kItemAhead]);
    if (i + kTextAhead < n) items.prefetchText(order[i + kTextAhead]);
    if (!before(order[i - 1], order[i])) bounds.push_back(i);
  }
  if (bounds.size() == 1) return;
  bounds.push_back(n);
  std::vector<qsizetype> merged(n);
  while (bounds.size() > 2) {
    std::vector<std::size_t> next{0};
    for (std::size_t r = 0; r + 1 < bounds.size(); r += 2) {
      const auto first = order.begin() + static_cast<std::ptrdiff_t>(bounds[r]);
      const auto middle = order.begin() + static_cast<std::ptrdiff_t>(bounds[r + 1]);
      const auto out = merged.begin() + static_cast<std::ptrdiff_t>(bounds[r]);
      if (r + 2 < bounds.size()) {
        std::merge(first, middle, middle, order.begin() + static_cast<std::ptrdiff_t>(bounds[r + 2]), out, before);
        next.push_back(bounds[r + 2]);
      } else {
        std::copy(first, middle, out);
        next.push_back(bounds[r + 1]);
      }
    }
    order.swap(merged);
    bounds.swap(next);
  }
}

}  // namespace

ListOrder::ListOrder() { collator_.setCaseSensitivity(Qt::CaseInsensitive); }

ListOrder::ListOrder(const QLocale& locale) : collator_(locale) { collator_.setCaseSensitivity(Qt::CaseInsensitive); }

bool ListOrder::less(const QString& a, const QString& b) const { return collator_.compare(a, b) < 0; }

QStringList ListOrder::sorted(QStringList items) const {
  const ListItems listItems{items};
  std::vector<qsizetype> order = presort(collator_, listItems);
  mergeRuns(
      order,
      [this, &items](qsizetype a, qsizetype b) {
        const int c = collator_.compare(items.at(a), items.at(b));
        return c < 0 || (c == 0 && a < b);
      },
      listItems);
  QStringList result;
  result.reserve(items.size());
  for (const qsizetype index : order) result.append(std::move(items[index]));
  return result;
}

std::vector<qsizetype> ListOrder::sortedIndices(const CountryRows& rows) const {
  const CompactItems items{rows};
  std::vector<qsizetype> order = presort(collator_, items);
  // The collator compares whole rows, written out for it. The check compares each row with the next, so the row
  // written out as the second of one comparison is kept for the first of the next.
  std::array<CountryRows::Room, 2> rooms;
  std::array<QStringView, 2> texts;
  std::array<qsizetype, 2> held = {-1, -1};
  constexpr std::size_t kNone = 2;
  const auto slotOf = [&held](qsizetype index) -> std::size_t {
    return held[0] == index ? 0 : held[1] == index ? 1 : kNone;
  };
  const auto writeOut = [&](qsizetype index, std::size_t otherSlot) {
    const std::size_t slot = otherSlot == 0 ? 1 : 0;
    held[slot] = index;
    texts[slot] = rows.item(index, rooms[slot]);
    return slot;
  };
  mergeRuns(
      order,
      [&](qsizetype a, qsizetype b) {
        std::size_t slotA = slotOf(a);
        std::size_t slotB = slotOf(b);
        if (slotA == kNone) slotA = writeOut(a, slotB);
        if (slotB == kNone) slotB = writeOut(b, slotA);
        const int c = collator_.compare(texts[slotA], texts[slotB]);
        return c < 0 || (c == 0 && a < b);
      },
      items);
  return order;
}

qsizetype ListOrder::insertionPlace(const QStringList& items, const QString& text) const {
  const auto place = std::upper_bound(items.begin(), items.end(), text,
                                      [this](const QString& a, const QString& b) { return less(a, b); });
  return place - items.begin();
}

}  // namespace skelvor
