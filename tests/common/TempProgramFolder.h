#pragma once
// A fresh temporary program folder for one test; restores the default when destroyed.

#include "platform/ProgramFolder.h"

#include <QString>
#include <QTemporaryDir>

class TempProgramFolder {
public:
    TempProgramFolder() { ProgramFolder::setOverride(FDir.path()); }
    ~TempProgramFolder() { ProgramFolder::setOverride(QString()); }
    QString path() const { return FDir.path() + "/"; } // with a trailing "/"
    QString file(const QString& name) const { return path() + name; }

private:
    QTemporaryDir FDir;
};
