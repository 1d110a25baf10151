#include "TempProgramFolder.h"

#include "platform/ProgramFolder.h"

TempProgramFolder::TempProgramFolder() { ProgramFolder::setOverride(FDir.path()); }

TempProgramFolder::~TempProgramFolder() { ProgramFolder::setOverride(QString()); }

QString TempProgramFolder::path() const { return FDir.path() + "/"; }
