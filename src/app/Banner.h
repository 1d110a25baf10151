#pragma once
// The start-up banner: 20 lines of 79 visible characters. "*", "#", "$" and "%" are
// colour switches (blue, red, yellow, white) that are never printed: one starts its
// colour when none is active, any one ends the active colour.

#include <QByteArray>
#include <QList>

class IConsoleWriter;
class TOutputSink;

namespace Banner {

const QList<QByteArray>& Lines();
// The line as printed, without its switch characters.
QByteArray Visible(const QByteArray& line);
// Writes every line in its colours, adds it to the output history, ends it with CR LF.
void Write(IConsoleWriter& console, TOutputSink& sink);

} // namespace Banner
