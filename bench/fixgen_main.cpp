// Writes the generated waypoints file of the benchmarks, for measuring the real program on it.
#include "fixgen.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: fixgen FILE\n");
    return 2;
  }
  const skelvor::GeneratedFixFile generated = skelvor::generateWaypointFile();
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly) || file.write(generated.bytes) != generated.bytes.size() || !file.flush()) {
    std::fprintf(stderr, "fixgen: %s: %s\n", argv[1], qPrintable(file.errorString()));
    return 1;
  }
  std::printf("%s\n", qPrintable(generated.largestCode));
  return 0;
}
