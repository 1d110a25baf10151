#include "dialogs/small/mudnbook.h"

#include "display/controls/FontValue.h"

#include "config/MudConfig.h"
#include "dialogs/small/DialogFrame.h"
#include "dialogs/small/NotebookIcons.h"
#include "display/controls/ColorValue.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Win1252.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

const char* const kSaveQuestion = "Notizbuch wurde geändert. Änderungen speichern ?";

// The memo's lines. The raw text keeps non-breaking blanks, which the plain-text view
// of the document would turn into ordinary ones and so change the file on saving.
QStringList MemoLines(const QPlainTextEdit* memo)
{
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QChar('\n'));
    text.replace(QChar::LineSeparator, QChar('\n'));
    if (text.isEmpty()) return {};
    return text.split(QChar('\n'));
}

// File bytes to memo text: CR LF, LF and lone CR end lines; the end of the last line is
// not a further, empty line.
QString TextFromFile(const QByteArray& bytes)
{
    QString text = Win1252::toUnicode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    if (text.endsWith(QChar('\n'))) text.chop(1);
    return text;
}

QByteArray FileFromLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += Win1252::fromUnicode(line) + "\r\n";
    return bytes;
}

} // namespace

TMudNoteBookFrm::TMudNoteBookFrm(QWidget* parent, IPrompts* prompts)
    : QWidget(parent, Qt::Window), memNotebook(new QPlainTextEdit(this)), FPrompts(prompts),
      FFileName(ProgramFolder::file("mudnotiz.txt"))
{
    setWindowTitle("KMC Notizbuch");
    QFont dialogFont = font();
    dialogFont.setPixelSize(13);
    setFont(dialogFont);
    resize(560, 380);

    QFont memoFont("Courier New");
    memoFont.setStyleHint(QFont::TypeWriter);
    memoFont.setPixelSize(13);
    memNotebook->setFont(memoFont);
    sbWordWrapClick(false);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    sbCopy = AddToolButton(NotebookIcons::Copy, "Kopieren");
    sbPaste = AddToolButton(NotebookIcons::Paste, "Einfügen");
    sbDelete = AddToolButton(NotebookIcons::Delete, "Löschen");
    sbCut = AddToolButton(NotebookIcons::Cut, "Ausschneiden");
    sbUndo = AddToolButton(NotebookIcons::Undo, "Rückgängig");
    sbWordWrap = AddToolButton(NotebookIcons::WordWrap, "Zeilenumbruch ein/aus");
    sbPrint = AddToolButton(NotebookIcons::Print, "Drucken");
    for (QToolButton* button : {sbCopy, sbPaste, sbDelete, sbCut, sbUndo, sbWordWrap, sbPrint})
        bar->addWidget(button);
    bar->addStretch();
    btnClose = new QPushButton("Schließen", this);
    bar->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(memNotebook, 1);
    layout->addLayout(bar);

    sbUndo->setEnabled(false);
    sbWordWrap->setCheckable(true);
    connect(sbCopy, &QToolButton::clicked, memNotebook, &QPlainTextEdit::copy);
    connect(sbPaste, &QToolButton::clicked, memNotebook, &QPlainTextEdit::paste);
    connect(sbDelete, &QToolButton::clicked, this, &TMudNoteBookFrm::sbDeleteClick);
    connect(sbCut, &QToolButton::clicked, memNotebook, &QPlainTextEdit::cut);
    connect(sbUndo, &QToolButton::clicked, memNotebook, &QPlainTextEdit::undo);
    connect(sbWordWrap, &QToolButton::toggled, this, &TMudNoteBookFrm::sbWordWrapClick);
    connect(sbPrint, &QToolButton::clicked, this, &TMudNoteBookFrm::sbPrintClick);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(memNotebook, &QPlainTextEdit::textChanged, this, &TMudNoteBookFrm::memNotebookChange);
    connect(memNotebook, &QPlainTextEdit::undoAvailable, sbUndo, &QToolButton::setEnabled);

    if (!QFileInfo::exists(FFileName)) {
        QFile file(FFileName);
        if (!file.open(QIODevice::WriteOnly)) Ask().Error("Kann Notizbuch nicht erstellen!");
    }
}

QToolButton* TMudNoteBookFrm::AddToolButton(int icon, const QString& hint)
{
    auto* button = new QToolButton(this);
    button->setIcon(NotebookIcons::Make(NotebookIcons::Kind(icon)));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(25, 25);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setAccessibleName(hint);
    // The memo keeps the focus and with it the selection the buttons act on.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

IPrompts& TMudNoteBookFrm::Ask() const
{
    return FPrompts ? *FPrompts : Prompts();
}

void TMudNoteBookFrm::ApplyWindowSettings(const TOutputWindow& settings)
{
    memNotebook->setFont(ToQFont(settings.FFont));
    memNotebook->setTabStopDistance(8 * memNotebook->fontMetrics().horizontalAdvance(' '));
    QPalette palette = memNotebook->palette();
    palette.setColor(QPalette::Base, ResolveColor(settings.BGColor, palette));
    palette.setColor(QPalette::Text, ResolveColor(settings.FFont.Color, palette));
    memNotebook->setPalette(palette);
}

void TMudNoteBookFrm::OpenNotebook(const TMudConfig& config)
{
    ApplyWindowSettings(config.FNoteWindow);
    if (!(isVisible() && FModified)) {
        if (!LoadFile()) {
            Ask().Error("Kann Notizbuch nicht lesen!");
            return;
        }
        FModified = false;
    }
    show();
    raise();
    activateWindow();
}

bool TMudNoteBookFrm::LoadFile()
{
    QFile file(FFileName);
    QByteArray bytes;
    // A notebook that could not be created opens empty; saving will create it.
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) return false;
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) return false;
    }
    memNotebook->setPlainText(TextFromFile(bytes));
    return true;
}

bool TMudNoteBookFrm::SaveFile()
{
    return SafeFile::write(FFileName, FileFromLines(MemoLines(memNotebook)));
}

void TMudNoteBookFrm::AppendNote(const QString& date, const QString& text)
{
    if (!isVisible()) return;
    const bool modified = FModified;
    QTextCursor end(memNotebook->document());
    end.movePosition(QTextCursor::End);
    // The note's three lines: an empty one, the date, the text.
    end.insertText((MemoLines(memNotebook).isEmpty() ? QString() : QString('\n')) + '\n' + date + '\n' + text);
    FModified = modified;
}

bool TMudNoteBookFrm::SaveIfModified()
{
    if (!FModified) return true;
    if (!SaveFile()) return false;
    FModified = false;
    return true;
}

bool TMudNoteBookFrm::CloseQuery()
{
    if (!FModified) return true;
    switch (Ask().Confirm(kSaveQuestion, true)) {
    case IPrompts::Answer::Yes:
        if (!SaveIfModified()) {
            Ask().Error("Kann Notizbuch nicht speichern!");
            return false;
        }
        return true;
    case IPrompts::Answer::No:
        // The next opening reloads the file, so the discarded text is gone anyway.
        FModified = false;
        return true;
    case IPrompts::Answer::Cancel:
        break;
    }
    return false;
}

void TMudNoteBookFrm::closeEvent(QCloseEvent* event)
{
    if (CloseQuery())
        event->accept();
    else
        event->ignore();
}

void TMudNoteBookFrm::showEvent(QShowEvent* event)
{
    // Only the first time: later the window stays where the player put it.
    if (!FPlaced) {
        DialogFrame::CenterOnScreen(this);
        FPlaced = true;
    }
    QWidget::showEvent(event);
}

void TMudNoteBookFrm::memNotebookChange()
{
    FModified = true;
}

void TMudNoteBookFrm::sbDeleteClick()
{
    memNotebook->textCursor().removeSelectedText();
}

void TMudNoteBookFrm::sbWordWrapClick(bool wrap)
{
    memNotebook->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    memNotebook->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memNotebook->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff
                                                   : Qt::ScrollBarAlwaysOn);
}

bool TMudNoteBookFrm::AskPrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
}

void TMudNoteBookFrm::sbPrintClick()
{
    if (MemoLines(memNotebook).isEmpty()) return;
    QPrinter printer;
    printer.setDocName(windowTitle());
    if (!AskPrinter(printer)) return;
    if (!PrintLines(printer)) Ask().Error("Kann Notizbuch nicht drucken!");
}

bool TMudNoteBookFrm::PrintLines(QPrinter& printer) const
{
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // The memo's face, size and style; its text colour is chosen for its own
    // background and may be all but invisible on white paper.
    const QFont font(memNotebook->font(), &printer);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const qreal width = page.width();
    const qreal height = page.height();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(8 * QFontMetricsF(font, &printer).horizontalAdvance(' '));

    qreal y = 0;
    for (const QString& line : MemoLines(memNotebook)) {
        QTextLayout layout(line, font, &printer);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine())
            row.setLineWidth(width);
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine row = layout.lineAt(i);
            if (y > 0 && y + row.height() > height) {
                if (!printer.newPage()) return false;
                y = 0;
            }
            row.draw(&painter, QPointF(0, y - row.y()));
            y += row.height();
        }
    }
    return painter.end();
}
