#pragma once

#include <QByteArray>
#include <QFont>
#include <QtGlobal>

namespace skelvor {

/// Has a build-time tool draw without a display, on Qt's offscreen platform, unless QT_QPA_PLATFORM names another.
/// On Windows that platform reads its fonts from a folder instead of the system's: the build names one in
/// SKELVOR_FONT_DIR (under Wine, variables whose names start with QT_ never reach a Windows program).
inline void useOffscreenPlatform() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR") && !qEnvironmentVariableIsEmpty("SKELVOR_FONT_DIR"))
    qputenv("QT_QPA_FONTDIR", qgetenv("SKELVOR_FONT_DIR"));
}

/// Has the offscreen platform's default faces, "Sans Serif" and "monospace", drawn in DejaVu Sans and DejaVu Sans
/// Mono, as fontconfig draws them on Linux; elsewhere the folder's first face, a serif one, would stand in for them.
/// Called once the application exists.
inline void useDejaVuFaces() {
  QFont::insertSubstitution(QStringLiteral("Sans Serif"), QStringLiteral("DejaVu Sans"));
  QFont::insertSubstitution(QStringLiteral("monospace"), QStringLiteral("DejaVu Sans Mono"));
}

}  // namespace skelvor
