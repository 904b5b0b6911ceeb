#pragma once

#include <QString>

// A file made under a temporary name beside its target ("<target>.<kind>-XXXXXX", QTemporaryFile's
// six letters) and renamed to the target only once whole. A process killed on the way leaves the
// temporary file behind; it is removed later, once it is old enough that no living process can
// still be writing it.
namespace LeftoverFiles {
// The template for QTemporaryFile, beside the target.
QString temporaryTemplate(const QString &target, const QString &kind);
// Removes the temporary files of the kind in the folder that were last written over an hour ago.
void removeOld(const QString &folder, const QString &kind);
} // namespace LeftoverFiles
