#include "listorder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
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

// The presorting key of one item: its first bytes as one number, where the rest lies in the shared buffer, and the
// item's place in the list.
struct KeyEntry {
  std::uint64_t prefix;
  qsizetype offset;
  qsizetype length;
  qsizetype index;
};

// The presorting keys of all items, back to back.
struct Keys {
  std::unique_ptr<unsigned char[]> bytes;
  std::vector<KeyEntry> entries;
};

// Asks the processor to bring `address` into its cache, where the compiler offers a way to.
void prefetch([[maybe_unused]] const void* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address);
#endif
}

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
void markCharactersBeyondLatin1(const QStringList& items, std::vector<std::uint32_t>& rank) {
  for (const QString& item : items)
    for (const QChar c : item)
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

// The key of each item: the rank of each character in `Width` bytes, most significant first, ignored characters left
// out and a run of spaces taken as one space. With `latin1Only`, gives up (returns false) at the first character
// beyond Latin-1, which `rank` does not cover then.
template <int Width>
bool buildKeys(const QStringList& items, const std::vector<std::uint32_t>& rankOf, bool latin1Only, Keys& keys) {
  qsizetype total = 0;
  for (const QString& item : items) total += item.size();
  // Left uninitialised: only the part that is written is ever touched.
  keys.bytes.reset(new unsigned char[static_cast<std::size_t>(total) * Width]);
  keys.entries.clear();
  keys.entries.reserve(static_cast<std::size_t>(items.size()));
  const std::uint32_t* const rank = rankOf.data();
  unsigned char* out = keys.bytes.get();
  constexpr qsizetype kAhead = 4;
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (i + kAhead < items.size()) {
      // Both ends of an item are read: its start, and its end after a long run of spaces.
      const QStringView ahead = items.at(i + kAhead);
      if (!ahead.isEmpty()) {
        prefetch(ahead.data());
        prefetch(ahead.data() + ahead.size() - 1);
      }
    }
    unsigned char* const start = out;
    const char16_t* p = QStringView(items.at(i)).utf16();
    const char16_t* const end = p + items.at(i).size();
    while (p != end) {
      const char16_t c = *p++;
      if (latin1Only && c >= kLatin1Count) return false;
      const std::uint32_t r = rank[c];
      if (r != 0)
        for (int shift = 8 * (Width - 1); shift >= 0; shift -= 8) *out++ = static_cast<unsigned char>(r >> shift);
      if (c == u' ') p = skipSpaces(p, end);
    }
    const qsizetype length = out - start;
    std::uint64_t prefix = 0;
    for (std::size_t k = 0; k < kPrefixBytes; ++k)
      prefix = (prefix << 8) | (k < static_cast<std::size_t>(length) ? start[k] : 0u);
    keys.entries.push_back({prefix, start - keys.bytes.get(), length, i});
  }
  return true;
}

// Sorts `entries` by prefix, keeping the order of equal prefixes (least significant byte first, one pass per byte
// that varies).
void radixSortByPrefix(std::vector<KeyEntry>& entries) {
  const std::size_t n = entries.size();
  std::array<std::array<std::size_t, 256>, kPrefixBytes> counts{};
  for (const KeyEntry& e : entries)
    for (std::size_t b = 0; b < kPrefixBytes; ++b) ++counts[b][(e.prefix >> (8 * b)) & 0xFF];
  std::vector<KeyEntry> scratch(n);
  for (std::size_t b = 0; b < kPrefixBytes; ++b) {
    auto& count = counts[b];
    if (std::find(count.begin(), count.end(), n) != count.end()) continue;  // every entry has the same byte here
    std::size_t sum = 0;
    for (std::size_t& c : count) sum += std::exchange(c, sum);
    for (const KeyEntry& e : entries) scratch[count[(e.prefix >> (8 * b)) & 0xFF]++] = e;
    entries.swap(scratch);
  }
}

std::vector<qsizetype> presort(const QCollator& collator, const QStringList& items) {
  // Lists nearly always hold Latin-1 text only: then the Latin-1 ranks serve and the items are read once.
  std::vector<std::uint32_t> rank(kCharacterCount, 0);
  std::uint32_t highest = rankCharacters(collator, rank);
  Keys keys;
  if (highest >= 0x100 || !buildKeys<1>(items, rank, true, keys)) {
    markCharactersBeyondLatin1(items, rank);
    highest = rankCharacters(collator, rank);
    if (highest < 0x100)
      buildKeys<1>(items, rank, false, keys);
    else if (highest < 0x10000)
      buildKeys<2>(items, rank, false, keys);
    else
      buildKeys<3>(items, rank, false, keys);
  }
  std::vector<KeyEntry>& entries = keys.entries;
  radixSortByPrefix(entries);
  // Keys whose first bytes tie are put in order by their whole key, then by their place in the list.
  const unsigned char* const bytes = keys.bytes.get();
  const auto byWholeKey = [bytes](const KeyEntry& a, const KeyEntry& b) {
    const auto common = static_cast<std::size_t>(std::min(a.length, b.length));
    if (common > kPrefixBytes) {
      const int c =
          std::memcmp(bytes + a.offset + kPrefixBytes, bytes + b.offset + kPrefixBytes, common - kPrefixBytes);
      if (c != 0) return c < 0;
    }
    if (a.length != b.length) return a.length < b.length;
    return a.index < b.index;
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

// Puts `order` exactly in the order of `before`, a strict total order, with work that grows with how far `order` is
// from it: the ordered runs that `order` holds are merged pairwise until one is left.
// `prefetchItem` and `prefetchText` are told, well ahead of the check, which item it reads next: first the item itself,
// then, once that is at hand, the text it points to.
template <typename Before, typename PrefetchItem, typename PrefetchText>
void mergeRuns(std::vector<qsizetype>& order, Before before, PrefetchItem prefetchItem, PrefetchText prefetchText) {
  const std::size_t n = order.size();
  std::vector<std::size_t> bounds{0};
  constexpr std::size_t kItemAhead = 16;
  constexpr std::size_t kTextAhead = 8;
  for (std::size_t i = 0; i < std::min(n, kItemAhead); ++i) prefetchItem(order[i]);
  for (std::size_t i = 0; i < std::min(n, kTextAhead); ++i) prefetchText(order[i]);
  for (std::size_t i = 1; i < n; ++i) {
    if (i + kItemAhead < n) prefetchItem(order[i + kItemAhead]);
    if (i + kTextAhead < n) prefetchText(order[i + kTextAhead]);
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

std::vector<qsizetype> ListOrder::sortedIndices(const QStringList& items) const {
  std::vector<qsizetype> order = presort(collator_, items);
  // The items lie in memory in the order they came, so the check reads them out of order: each item's text is asked
  // for a few steps before it is compared.
  mergeRuns(
      order,
      [this, &items](qsizetype a, qsizetype b) {
        const int c = collator_.compare(items.at(a), items.at(b));
        return c < 0 || (c == 0 && a < b);
      },
      [&items](qsizetype index) { prefetch(&items.at(index)); },
      [&items](qsizetype index) { prefetch(items.at(index).constData()); });
  return order;
}

QStringList ListOrder::sorted(QStringList items) const {
  const std::vector<qsizetype> order = sortedIndices(items);
  QStringList result;
  result.reserve(items.size());
  for (const qsizetype index : order) result.append(std::move(items[index]));
  return result;
}

qsizetype ListOrder::insertionPlace(const QStringList& items, const QString& text) const {
  const auto place = std::upper_bound(items.begin(), items.end(), text,
                                      [this](const QString& a, const QString& b) { return less(a, b); });
  return place - items.begin();
}

}  // namespace skelvor
