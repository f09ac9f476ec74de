#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

namespace skelvor {

class CountryRows;

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

  /// `rows`, a country's rows in file order, in list order: the order their whole texts, as a list of strings, would
  /// take.
  CountryRows sortedRows(const CountryRows& rows) const;

  /// Where `text` goes in the sorted `items`: after every item that compares equal to it.
  qsizetype insertionPlace(const QStringList& items, const QString& text) const;

 private:
  QCollator collator_;
};

}  // namespace skelvor
