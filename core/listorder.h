#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace skelvor {

/// Items that a ListOrder puts in order: how many there are and the text of each, written out when asked for. It may
/// be asked from several threads at once, each with rooms of its own.
class ListItems {
 public:
  virtual ~ListItems() = default;
  virtual qsizetype size() const = 0;
  /// The text of item `i`, perhaps written into `room`: valid until `room` is used again.
  virtual QStringView text(qsizetype i, QString& room) const = 0;
  /// A text of item `i` that differs from its whole text at most in the length of its runs of spaces: quicker to
  /// write out, it gives the same first order. By default the whole text.
  virtual QStringView compact(qsizetype i, QString& room) const { return text(i, room); }
  /// Whether an item may hold a character beyond Latin-1; when none can, the items are not read to find out which
  /// characters they hold.
  virtual bool mayGoBeyondLatin1() const { return true; }
  /// A hint that item `i` is read a few items from now, out of the order in which the items lie.
  virtual void willRead([[maybe_unused]] qsizetype i) const {}
};

/// The order of the window's sorted lists: ascending by the user's collation, letter case ignored. Items that compare
/// equal keep the order in which they came, so sorting a whole list gives the order that adding its items one by one
/// gives.
class ListOrder {
 public:
  /// The order of the user's locale.
  ListOrder();
  /// The order of `locale`.
  explicit ListOrder(const QLocale& locale);

  /// Whether `a` comes before `b`.
  bool less(const QString& a, const QString& b) const;

  /// `items` in list order; equal items keep their relative order.
  QStringList sorted(QStringList items) const;

  /// The places of `items` in list order: the item at place i of the list is items' item result[i].
  std::vector<qsizetype> placesInOrder(const ListItems& items) const;

  /// The two steps of placesInOrder, for items that are quicker to read in the order they stand in. First the places
  /// of `items` in the order of a cheap key, which is nearly always the list order; then, for the same items put in
  /// that order (item i came at place cameAt[i], which settles ties), the places that put them in list order exactly,
  /// or none when they are in list order already.
  std::vector<qsizetype> presorted(const ListItems& items) const;
  std::vector<qsizetype> corrections(const ListItems& items, const std::vector<qsizetype>& cameAt) const;

  /// Where `text` goes in the sorted `items`: after every item that compares equal to it.
  qsizetype insertionPlace(const QStringList& items, const QString& text) const;

 private:
  QCollator collator_;
};

}  // namespace skelvor
