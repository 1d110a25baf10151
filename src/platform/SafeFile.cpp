#include "platform/SafeFile.h"

#include <QSaveFile>

namespace SafeFile {

bool write(const QString& fileName, const QByteArray& bytes, QString* error,
           bool directWriteFallback)
{
    QSaveFile f(fileName);
    f.setDirectWriteFallback(directWriteFallback);
    // commit() alone succeeds after a short write and would put the cut file in place.
    const bool ok = f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() &&
                    f.flush() && f.commit();
    if (!ok && error)
        *error = f.errorString();
    return ok;
}

} // namespace SafeFile
