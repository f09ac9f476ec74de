#include "forvok.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
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
  if (displayMissing()) {
    std::fprintf(stderr, "skelvor: no display is available; run it under Xvfb with: xvfb-run -a %s\n", argv[0]);
    return EXIT_FAILURE;
  }
#ifdef Q_OS_WIN
  // Held until the program ends: the installer and the uninstaller (packaging/windows/skelvor.nsi) wait while it is.
  CreateMutexW(nullptr, FALSE, L"SkelvorIsRunning");
#endif
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Skelvor"));
  skelvor::ForVOK window(QCoreApplication::applicationDirPath());
  window.show();
  return QApplication::exec();
}
