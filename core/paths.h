#pragma once

#include <QString>

namespace skelvor {

/// The path of `name` inside `folder`, with the platform's separators: one separator between them, none doubled when
/// the folder is the root of a drive or of the file system.
QString inFolder(const QString& folder, const QString& name);

}  // namespace skelvor
