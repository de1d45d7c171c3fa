#pragma once

#include <QString>

namespace vantrel {

// A file-dialog filter written as "description|patterns" pairs, one after the other
// ("au groupe (*.Qug)|*.Qug", "Pages (FFB)|*.htm;*.html|Tout|*.*"), in the form the Qt file
// dialogs read: one "description (patterns)" line per pair, patterns separated by blanks. A
// description that already ends with its patterns in brackets is kept as it is.
QString QtFileFilter(const QString& pairs);

// name with "." + extension appended when its file name has no extension (the dialog's
// default extension); name itself otherwise, and when it is empty.
QString WithDefaultExtension(const QString& name, const QString& extension);

// The file an open dialog chose: name itself when that file exists (even without an
// extension), name with the default extension otherwise.
QString OpenedFileName(const QString& name, const QString& extension);

}  // namespace vantrel
