#pragma once

#include <QByteArray>
#include <QString>

namespace SafeFile {

// Replaces the file's contents with bytes, all or nothing: a write cut short (full disk,
// file-size limit) fails and leaves the old file as it was. directWriteFallback writes in
// place where the folder allows no temporary file; such a write can still be cut.
bool write(const QString& fileName, const QByteArray& bytes, QString* error = nullptr,
           bool directWriteFallback = false);

} // namespace SafeFile
