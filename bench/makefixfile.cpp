// Writes a generated waypoints file, the same bytes on every run, and prints the code of its largest country:
// makefixfile PATH [LINES COUNTRIES LARGEST]; without a shape, the file of the benchmarks (300,000 lines, 150
// countries, the largest of 50,000 lines).
#include "fixgen.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
  if (argc != 2 && argc != 5) {
    std::fprintf(stderr, "usage: makefixfile PATH [LINES COUNTRIES LARGEST]\n");
    return 2;
  }
  skelvor::WaypointFileShape shape;
  if (argc == 5) shape = {std::atoll(argv[2]), std::atoll(argv[3]), std::atoll(argv[4])};
  const skelvor::GeneratedFixFile generated = skelvor::generateWaypointFile(shape);
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly) || file.write(generated.bytes) != generated.bytes.size() || !file.flush()) {
    std::fprintf(stderr, "makefixfile: %s: %s\n", argv[1], qUtf8Printable(file.errorString()));
    return 1;
  }
  std::printf("%s\n", qUtf8Printable(generated.largestCode));
  return 0;
}
