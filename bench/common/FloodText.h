#pragma once
// A deterministic flood as a busy MUD sends it: lines of 40-100 characters ended by
// CR LF, about a third of them with SGR colour sequences, words that the configured
// highlights of the benchmarks find now and then.

#include <QByteArray>

namespace FloodText {

// lineLength > 0 makes every line that many characters long (without its colour
// sequences and line end); a megabyte gives one long line after another.
QByteArray Make(qsizetype bytes, quint32 seed = 4711, int lineLength = 0);
// The process's peak resident memory in kB.
long PeakRssKb();

} // namespace FloodText
