#pragma once

#include "territory.h"

#include <QString>
#include <QStringList>

namespace skelvor {

/// The path of `name` inside `folder`, with the platform's separators: one separator between them, none doubled when
/// the folder is the root of a drive or of the file system.
QString inFolder(const QString& folder, const QString& name);

/// `name` made fit to be a file name on every common file system: cut to 100 characters; the characters that some
/// refuse become "_", as do a leading dot and trailing dots and spaces; a device name of Windows gets a "_" after it;
/// empty becomes "_".
QString safeFileName(QString name);

/// One file base name per code: the country's name from the table, or the code without one, made safe. No two names
/// are equal, even with letter case ignored; a name already given gets the code, then a number, after it.
QStringList countryFileNames(const QStringList& codes, const TerritoryTable& table);

}  // namespace skelvor
