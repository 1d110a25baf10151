#include "ConsoleAccessible.h"

#include "display/controls/AccessibleFactory.h"
#include "platform/Win1252.h"

#include <algorithm>

// ---- TLineAnnouncer ----

bool TLineAnnouncer::Flooded(qint64 now) const
{
    const auto recent = std::count_if(FArrivals.begin(), FArrivals.end(), [now](qint64 t) { return t > now - 1000; });
    return recent > kFloodLines;
}

void TLineAnnouncer::Add(const QString& line, qint64 now)
{
    FArrivals.push_back(now);
    while (FArrivals.front() <= now - 1000)
        FArrivals.pop_front();
    if (FPending.isEmpty())
        FFirstPending = now;
    FPending << line;
    // More than a flood's worth is never announced; keep what a batch can use.
    if (FPending.size() > kFloodLines + 1)
        FPending.removeFirst();
}

qint64 TLineAnnouncer::DueIn(qint64 now) const
{
    if (FPending.isEmpty())
        return -1;
    const qint64 due = Flooded(now) ? FLastTaken + kBatchMs : FFirstPending + kBlockMs;
    return std::max<qint64>(0, due - now);
}

QStringList TLineAnnouncer::Take(qint64 now)
{
    QStringList lines;
    lines.swap(FPending);
    if (Flooded(now) && lines.size() > kBatchLines)
        lines = lines.mid(lines.size() - kBatchLines);
    FLastTaken = now;
    return lines;
}

// ---- TConsoleSpeech ----

TConsoleSpeech* TConsoleSpeech::Of(TConsole* console)
{
    if (auto* speech = console->findChild<TConsoleSpeech*>(QString(), Qt::FindDirectChildrenOnly))
        return speech;
    auto* speech = new TConsoleSpeech(console);
    console->SetListener(speech);
    return speech;
}

TConsoleSpeech::TConsoleSpeech(TConsole* console) : QObject(console), FConsole(console)
{
    FClock.start();
    FFlushTimer.setSingleShot(true);
    connect(&FFlushTimer, &QTimer::timeout, this, &TConsoleSpeech::Flush);
    FPromptTimer.setSingleShot(true);
    FPromptTimer.setInterval(kPromptMs);
    connect(&FPromptTimer, &QTimer::timeout, this, &TConsoleSpeech::SpeakPrompt);
}

QString TConsoleSpeech::RowString(int row) const
{
    QByteArray bytes = FConsole->RowText(row);
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] == ' ')
        --end;
    bytes.truncate(end);
    return Win1252::toUnicode(bytes);
}

const QString& TConsoleSpeech::Text() const
{
    if (FTextValid)
        return FText;
    FText.clear();
    for (const QString& line : FHistory)
        FText += line + '\n';
    const int cursorRow = FConsole->Cursor().y();
    FRowOffsets.assign(size_t(cursorRow + 1), 0);
    for (int row = 0; row <= cursorRow; ++row) {
        FRowOffsets[size_t(row)] = int(FText.size());
        FText += RowString(row);
        if (row < cursorRow)
            FText += '\n';
    }
    FTextValid = true;
    return FText;
}

int TConsoleSpeech::RowOffset(int row) const
{
    Text();
    return row >= 0 && size_t(row) < FRowOffsets.size() ? FRowOffsets[size_t(row)] : -1;
}

int TConsoleSpeech::CursorOffset() const
{
    const QPoint cursor = FConsole->Cursor();
    const int start = RowOffset(cursor.y());
    const int rowEnd = cursor.y() + 1 < int(FRowOffsets.size()) ? FRowOffsets[size_t(cursor.y() + 1)] - 1
                                                                 : int(Text().size());
    return std::min(start + cursor.x(), rowEnd);
}

void TConsoleSpeech::LineEnding()
{
    Changed();
    if (!QAccessible::isActive())
        return;
    const int row = FConsole->Cursor().y();
    if (row == FConsole->Rows() - 1) {
        // The line feed drops grid row 0: it moves into the history.
        FHistory.push_back(RowString(0));
        if (FHistory.size() > size_t(kHistoryLines))
            FHistory.pop_front();
    }
    const quint64 line = FConsole->Grid().Feeds + quint64(row);
    QString finished = RowString(row);
    if (line == FSpokenLine)
        finished = finished.mid(FSpokenColumn);
    FSpokenLine = ~0ull;
    FPromptTimer.stop();
    if (finished.trimmed().isEmpty())
        return;
    const qint64 now = FClock.elapsed();
    FAnnouncer.Add(finished, now);
    if (!FFlushTimer.isActive())
        FFlushTimer.start(int(FAnnouncer.DueIn(now)));
}

void TConsoleSpeech::TextShown()
{
    Changed();
    if (QAccessible::isActive())
        FPromptTimer.start();
}

void TConsoleSpeech::Flush()
{
    const QStringList lines = FAnnouncer.Take(FClock.elapsed());
    if (lines.isEmpty())
        return;
    // The lines just finished stand right before the cursor row.
    const QString text = lines.join('\n') + '\n';
    Emit(std::max(0, RowOffset(FConsole->Cursor().y()) - int(text.size())), text);
}

// A prompt ("Passwort:") gets no line end until the player answers; say it anyway.
void TConsoleSpeech::SpeakPrompt()
{
    Flush();
    const int row = FConsole->Cursor().y();
    const quint64 line = FConsole->Grid().Feeds + quint64(row);
    const QString shown = RowString(row);
    const int from = line == FSpokenLine ? FSpokenColumn : 0;
    const QString part = shown.mid(from);
    if (part.trimmed().isEmpty())
        return;
    FSpokenLine = line;
    FSpokenColumn = int(shown.size());
    Emit(RowOffset(row) + from, part);
}

void TConsoleSpeech::Emit(int position, const QString& text)
{
    QAccessibleTextInsertEvent event(FConsole, position, text);
    QAccessible::updateAccessibility(&event);
}

// ---- TConsoleAccessible ----

TConsoleAccessible::TConsoleAccessible(TConsole* console)
    : QAccessibleWidget(console, QAccessible::Terminal), FSpeech(TConsoleSpeech::Of(console))
{
}

QAccessible::State TConsoleAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.multiLine = true;
    s.selectableText = true;
    return s;
}

QString TConsoleAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return QStringLiteral("Ausgabe");
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
        return QStringLiteral("Text des MUDs und Meldungen des Clients");
    return QAccessibleWidget::text(t);
}

void* TConsoleAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TConsoleAccessible::text(int startOffset, int endOffset) const
{
    const QString& all = FSpeech->Text();
    startOffset = std::clamp(startOffset, 0, int(all.size()));
    endOffset = endOffset < 0 ? int(all.size()) : std::clamp(endOffset, startOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

QRect TConsoleAccessible::characterRect(int offset) const
{
    const TConsole* c = Console();
    const QPoint cell = c->CharSize();
    for (int row = c->Cursor().y(); row >= 0; --row) {
        const int start = FSpeech->RowOffset(row);
        if (offset < start)
            continue;
        const QPoint at((offset - start - c->ScrollPos().x()) * cell.x(), (row - c->ScrollPos().y()) * cell.y());
        return QRect(c->viewport()->mapToGlobal(at), QSize(cell.x(), cell.y()));
    }
    return QRect(); // in the history, no longer on screen
}

int TConsoleAccessible::offsetAtPoint(const QPoint& point) const
{
    const TConsole* c = Console();
    const QPoint cell = c->CharSize();
    if (cell.x() <= 0 || cell.y() <= 0)
        return -1;
    const QPoint local = c->viewport()->mapFromGlobal(point);
    const int row = local.y() / cell.y() + c->ScrollPos().y();
    const int col = local.x() / cell.x() + c->ScrollPos().x();
    const int start = FSpeech->RowOffset(row);
    if (start < 0 || col < 0)
        return -1;
    const int next = FSpeech->RowOffset(row + 1);
    const int end = next < 0 ? int(FSpeech->Text().size()) : next - 1;
    return std::min(start + col, end);
}

QString TConsoleAccessible::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

// ---- installation ----

void TConsole::InstallAccessibility()
{
    InstallAccessibleInterface<TConsole, TConsoleAccessible>();
}
