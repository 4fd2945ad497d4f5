#pragma once

#include <QString>

// The repair photos in the photo folder beside the program. A photo's name comes from the
// database, which other programs share: it is trusted only as a plain file name.
namespace PhotoFiles {

// A name without any folder part: no "/", "\", ":" or control character, not "." or "..".
bool isPlainFileName(const QString &name);

// The full path of the photo `name` when it is a plain file name of a file inside the photo
// folder (also after following links) whose content is a picture; empty otherwise, so that
// a name like "../../../usr/bin/xterm" is never opened or printed.
QString usablePhoto(const QString &name);

} // namespace PhotoFiles
