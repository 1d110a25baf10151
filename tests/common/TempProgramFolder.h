#pragma once
// A fresh temporary program folder for one test; restores the default when destroyed.

#include <QString>
#include <QTemporaryDir>

class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const; // with a trailing "/"
    QString file(const QString& name) const { return path() + name; }

private:
    QTemporaryDir FDir;
};
