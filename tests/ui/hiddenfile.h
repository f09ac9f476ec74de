#pragma once

#include <QString>

namespace skelvor {

/// Makes an empty file at `path` that the system counts as hidden: on Linux its name must start with a dot; on
/// Windows, where such a name hides nothing, it is given the hidden attribute. Returns whether it could.
bool makeHiddenFile(const QString& path);

}  // namespace skelvor
