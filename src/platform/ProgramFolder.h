#pragma once
// The program's folder: where conf/, log/, vezoriza.sta, vezoriza.bak, mudhelp.txt and
// mudnotiz.txt live. It is the executable's folder when mudhelp.txt lies beside it and
// the folder is writable; otherwise (an installed copy) the per-user data folder. Tests
// point it elsewhere with setOverride().

#include <QByteArray>
#include <QString>

namespace ProgramFolder {

// Folder for everything the program reads and writes, with a trailing "/". Kept as the
// file system gives it: a folder name outside Windows-1252 must still work.
QString path();
// Full name of a file beside the program (name may hold "conf/x.mud").
QString file(const QString& name);
// mudhelp.txt: beside the program, else in the installed data folder.
QString helpFile();

// Tests: make `folder` the program folder; an empty string restores the default.
void setOverride(const QString& folder);

// Typed names may separate folders with "\" as well as "/"; turn both into "/".
QByteArray normalizeSeparators(const QByteArray& name);

} // namespace ProgramFolder
