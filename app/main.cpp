#include "forvok.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// On X11 and Wayland desktops a program needs a display; without one, say so plainly instead of Qt's plugin dump.
bool displayMissing() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  const bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  return !platformChosen && !display;
#else
  return false;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
#if defined(__GLIBC__)
  // Large blocks (a fix file, a list's array, a GPX body) get pages of their own, which go back to the system when the
  // block is freed and grow without copying. By default the C library raises this limit each time such a block is
  // freed, after which the next large blocks come from the shared heap, are copied as they grow and leave holes.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
  if (displayMissing()) {
    std::fprintf(stderr, "skelvor: no display is available; run it under Xvfb with: xvfb-run -a %s\n", argv[0]);
    return EXIT_FAILURE;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Skelvor"));
  skelvor::ForVOK window(QCoreApplication::applicationDirPath());
  window.show();
  return QApplication::exec();
}
