#pragma once

// Lets GoogleTest print Qt strings in its failure messages.
#include <QString>
#include <QStringList>

#include <ostream>

QT_BEGIN_NAMESPACE
inline std::ostream& operator<<(std::ostream& os, const QString& text) { return os << text.toStdString(); }
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os) {
  *os << '{';
  for (const QString& item : list) *os << " \"" << item.toStdString() << '"';
  *os << " }";
}
QT_END_NAMESPACE
