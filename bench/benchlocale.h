#pragma once

// Every benchmark run states the locale it ran in, since the lists sort in the user's language. Qt takes the locale
// from the environment (LC_ALL, then LC_MESSAGES, then LANG), so a run is pinned by setting LANG, with LC_ALL unset.
#include <QCollator>
#include <QLocale>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace skelvor {

/// Prints the locale and the collation of this run and adds them to the benchmark's context.
inline void reportLocale() {
  const QString locale = QLocale().name();
  const QString collation = QCollator().locale().name();
  const QByteArray lang = qgetenv("LANG");
  std::printf("Locale: %s, collation %s (LANG=%s)\n", qPrintable(locale), qPrintable(collation), lang.constData());
  std::fflush(stdout);
  benchmark::AddCustomContext("locale", locale.toStdString());
  benchmark::AddCustomContext("collation", collation.toStdString());
}

}  // namespace skelvor
