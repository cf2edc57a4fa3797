#pragma once

#include <QString>

class QFileInfo;

namespace kntr {

/// Why what is at a path is no file to read from or to replace: "Is a folder,
/// not a file" or "Not a regular file" (a device, a FIFO, a socket). Empty for a
/// regular file (or a link to one) and where nothing is. Reading a FIFO waits
/// for a writer, a device may never end, and a file written in the place of
/// either replaces it: readers and writers of the user's files look first.
QString notARegularFile(const QFileInfo& info);

} // namespace kntr
