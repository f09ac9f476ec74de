#pragma once

#include <QString>

namespace skelvor {

/// The path of `name` inside `folder`: one separator between them, none doubled when the folder is a root.
QString inFolder(const QString& folder, const QString& name);

}  // namespace skelvor
