#pragma once

#include "platform/Outcome.h"

#include <QIODevice>
#include <QString>
#include <functional>
#include <optional>

namespace platform {

// Puts what body writes at path, the one way every file of the program is saved:
// - a regular file (or a missing name) is replaced whole or not at all: the bytes go to a new file
//   beside it, which takes the name only when everything was written and synced;
// - a pipe or a character device is written into, as the user asked, and its errors reported;
// - a folder, a block device or a socket is refused;
// - a symbolic link is followed, except in a folder everyone may write to with the sticky bit
//   (/tmp) when the link belongs neither to the user nor to the folder's owner: someone else may
//   have planted it there to have the user overwrite a file of theirs.
// Nothing that is not a regular file is ever renamed over. Answers nothing, or the reason.
using WriteBody = std::function<bool(QIODevice &device)>;
std::optional<QString> writeFile(const QString &path, const WriteBody &body);

// Writes body once into folder and gives it the first free name of nameFor(1), nameFor(2), ...:
// a name that exists is never replaced, even by a writer that picks the same name at the same
// moment. Answers the path taken, or the reason it could not be written.
Outcome<QString> writeNewFile(const QString &folder, const std::function<QString(int n)> &nameFor,
                              const WriteBody &body);

} // namespace platform
