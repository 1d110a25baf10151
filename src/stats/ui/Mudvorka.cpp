#include "Mudvorka.h"

#include "VorkaPrint.h"
#include "VorkaTable.h"
#include "mudpprev.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Win1252.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLogIndexRole = Qt::UserRole;
constexpr int kSortKeyRole = Qt::UserRole + 1;
constexpr int kHostRole = Qt::UserRole;

// Orders by the value behind the text (day, time of day, seconds online), ties by log
// order, so a descending sort is the exact reverse of an ascending one.
class TLogGridItem : public QTableWidgetItem {
public:
    TLogGridItem(const QString& text, const QVariant& key, int logIndex) : QTableWidgetItem(text)
    {
        setData(kSortKeyRole, key);
        setData(kLogIndexRole, logIndex);
    }
    bool operator<(const QTableWidgetItem& other) const override
    {
        const QVariant a = data(kSortKeyRole), b = other.data(kSortKeyRole);
        if (a.typeId() == QMetaType::QString) {
            const int c = a.toString().compare(b.toString());
            if (c != 0)
                return c < 0;
        } else if (a.toDouble() != b.toDouble()) {
            return a.toDouble() < b.toDouble();
        }
        return data(kLogIndexRole).toInt() < other.data(kLogIndexRole).toInt();
    }
};

double SecondOfDay(DateTime::TDateTime value)
{
    return DateTime::toQDateTime(value).time().msecsSinceStartOfDay() / 1000;
}

QPushButton* MakeButton(const QString& caption, const QString& hint, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    if (!hint.isEmpty()) {
        b->setToolTip(hint);
        b->setStatusTip(hint);
    }
    return b;
}

} // namespace

TVorkaOMaticFrm::TVorkaOMaticFrm(QWidget* parent, IPrompts* prompts)
    : QDialog(parent), FPrompts(prompts)
{
    setWindowTitle(QStringLiteral("Ternu-O-Matic(tm) "));
    // The fixed window size is laid out for an 8-point dialog font.
    QFont small(QStringLiteral("MS Sans Serif"));
    small.setStyleHint(QFont::SansSerif);
    small.setPixelSize(11);
    setFont(small);
    CreateControls();
    SetColumnWidths();
    setFixedSize(581, 326);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

IPrompts& TVorkaOMaticFrm::Ask() const { return FPrompts ? *FPrompts : Prompts(); }

void TVorkaOMaticFrm::CreateControls()
{
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 6);
    outer->setSpacing(6);
    outer->addWidget(CreateGridBox(), 1);
    outer->addWidget(CreateButtonColumn());
}

QWidget* TVorkaOMaticFrm::CreateGridBox()
{
    auto* box = new QGroupBox(QStringLiteral("Einträge"), this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);

    LogGrid = new QTableWidget(0, 5, box);
    LogGrid->setHorizontalHeaderLabels({QStringLiteral("Datum"), QStringLiteral("Host"),
                                        QStringLiteral("Start"), QStringLiteral("Stop"),
                                        QStringLiteral("Online-Zeit")});
    LogGrid->verticalHeader()->hide();
    LogGrid->verticalHeader()->setMinimumSectionSize(16);
    LogGrid->verticalHeader()->setDefaultSectionSize(16);
    LogGrid->setShowGrid(false);
    LogGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LogGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    LogGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    LogGrid->setWordWrap(false);
    QHeaderView* header = LogGrid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(0, Qt::AscendingOrder);
    header->setHighlightSections(false);
    connect(header, &QHeaderView::sectionClicked, this, &TVorkaOMaticFrm::LogGridHeaderClick);
    layout->addWidget(LogGrid, 1);

    auto* hosts = new QWidget(box);
    hosts->setFixedHeight(50);
    auto* grid = new QGridLayout(hosts);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    cbHostList = new QComboBox(hosts);
    cbHostList->setEditable(false);
    connect(cbHostList, &QComboBox::activated, this, &TVorkaOMaticFrm::cbHostListChange);
    edtOnlineTime = new QLineEdit(hosts);
    edtOnlineTime->setReadOnly(true);
    auto* lblHosts = new QLabel(QStringLiteral("Hosts"), hosts);
    lblHosts->setBuddy(cbHostList);
    auto* lblTime = new QLabel(QStringLiteral("&Online-Zeit"), hosts);
    lblTime->setBuddy(edtOnlineTime);
    grid->addWidget(lblHosts, 0, 0);
    grid->addWidget(cbHostList, 1, 0);
    grid->addWidget(lblTime, 0, 1);
    grid->addWidget(edtOnlineTime, 1, 1);
    cbHostList->setFixedWidth(118);
    grid->setColumnStretch(1, 1);
    layout->addWidget(hosts);
    return box;
}

QWidget* TVorkaOMaticFrm::CreateButtonColumn()
{
    auto* column = new QWidget(this);
    column->setFixedWidth(108);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(6);
    btnDeleteEntry = MakeButton(QStringLiteral("&Eintrag löschen"),
                                QStringLiteral("Markierten Eintrag löschen"), column);
    btnClearLog = MakeButton(QStringLiteral("&Log löschen"),
                             QStringLiteral("Alle Log-Einträge löschen"), column);
    btnSaveHtml = MakeButton(QStringLiteral("&HTML"),
                             QStringLiteral("Log im HTML-Format speichern"), column);
    btnPrintPreview = MakeButton(QStringLiteral("Druck-&Vorschau"), QString(), column);
    btnPrint = MakeButton(QStringLiteral("&Drucken"), QString(), column);
    btnClose = MakeButton(QStringLiteral("&Schließen"), QString(), column);
    for (QPushButton* b : {btnDeleteEntry, btnClearLog, btnSaveHtml})
        layout->addWidget(b);
    layout->addSpacing(18);
    layout->addWidget(btnPrintPreview);
    layout->addWidget(btnPrint);
    layout->addStretch(1);
    layout->addWidget(btnClose);

    connect(btnDeleteEntry, &QPushButton::clicked, this, &TVorkaOMaticFrm::btnDeleteEntryClick);
    connect(btnClearLog, &QPushButton::clicked, this, &TVorkaOMaticFrm::btnClearLogClick);
    connect(btnSaveHtml, &QPushButton::clicked, this, &TVorkaOMaticFrm::btnSaveHtmlClick);
    connect(btnPrintPreview, &QPushButton::clicked, this,
            &TVorkaOMaticFrm::btnPrintPreviewClick);
    connect(btnPrint, &QPushButton::clicked, this, &TVorkaOMaticFrm::btnPrintClick);
    // Escape rejects the dialog already, which closes it just as the button does.
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    return column;
}

// Date, times and durations get what their widest text needs in the font at hand; the host
// column takes the rest of the grid, so nothing has to scroll sideways.
void TVorkaOMaticFrm::SetColumnWidths()
{
    const QFontMetrics fm(LogGrid->font());
    const int pad = 12;
    const int date = std::max(54, fm.horizontalAdvance(QStringLiteral("88.88.8888")) + pad);
    const int time = std::max(64, fm.horizontalAdvance(QStringLiteral("88:88:88")) + pad);
    const int online = std::max({74, fm.horizontalAdvance(QStringLiteral("888h 88m 88s")) + pad,
                                 fm.horizontalAdvance(QStringLiteral("Online-Zeit")) + 2 * pad});
    const int widths[] = {date, 198, time, time, online};
    for (int c = 0; c < 5; ++c)
        LogGrid->setColumnWidth(c, widths[c]);
    LogGrid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
}

bool TVorkaOMaticFrm::Execute(TVorkaOMatic& log, QWidget* parent)
{
    TVorkaOMaticFrm frm(parent);
    frm.Prepare(log);
    frm.exec();
    return frm.HandBack(log);
}

void TVorkaOMaticFrm::Prepare(const TVorkaOMatic& log)
{
    FShownAtStart = log.FEntries;
    FLog.Assign(log);
    FLog.FModified = false;
    FillGrid();
    FillHostList();
    if (cbHostList->count() > 0) {
        cbHostList->setCurrentIndex(0);
        cbHostListChange();
    }
}

// The window only deletes. Connections that ended while it was open reached the
// caller's log meanwhile, so the deletions are applied to that log instead of
// replacing it with the window's copy.
bool TVorkaOMaticFrm::HandBack(TVorkaOMatic& log) const
{
    if (!FLog.FModified)
        return false;
    QList<QByteArray> deleted = FShownAtStart;
    for (const QByteArray& kept : FLog.FEntries)
        deleted.removeOne(kept);
    for (const QByteArray& line : deleted)
        log.DeleteEntry(int(log.FEntries.indexOf(line)));
    log.FModified = true;
    return true;
}

int TVorkaOMaticFrm::LogIndexOfRow(int row) const
{
    const QTableWidgetItem* item = row >= 0 ? LogGrid->item(row, 0) : nullptr;
    return item ? item->data(kLogIndexRole).toInt() : -1;
}

void TVorkaOMaticFrm::AddGridRow(int logIndex, const TVorkaOMaticLog& e)
{
    const int row = LogGrid->rowCount();
    LogGrid->insertRow(row);
    const qint64 seconds = TVorkaOMatic::DurationSeconds(e);
    const QByteArray duration = TVorkaOMatic::FormatHMS(
        int(seconds / 3600), int((seconds % 3600) / 60), int(seconds % 60));
    const QString host = Win1252::toUnicode(e.Host);
    LogGrid->setItem(row, 0, new TLogGridItem(DateTime::dateToStr(e.Date), e.Date, logIndex));
    LogGrid->setItem(row, 1, new TLogGridItem(host, host, logIndex));
    LogGrid->setItem(row, 2, new TLogGridItem(DateTime::timeToStr(e.StartTime),
                                              SecondOfDay(e.StartTime), logIndex));
    LogGrid->setItem(row, 3, new TLogGridItem(DateTime::timeToStr(e.EndTime),
                                              SecondOfDay(e.EndTime), logIndex));
    LogGrid->setItem(row, 4, new TLogGridItem(duration, double(seconds), logIndex));
}

void TVorkaOMaticFrm::FillGrid()
{
    LogGrid->setRowCount(0);
    FSortColumn = -1;
    // A line that cannot be read is reported once and left out; it stays in the log, so
    // the next save keeps it and every other connection is still shown.
    QString firstError;
    for (int i = 0; i < FLog.Count(); ++i) {
        TVorkaOMaticLog e;
        QString error;
        if (FLog.TryGetEntry(i, e, &error))
            AddGridRow(i, e);
        else if (firstError.isEmpty())
            firstError = error;
    }
    if (LogGrid->rowCount() > 0)
        LogGrid->setCurrentCell(0, 0);
    if (!firstError.isEmpty())
        Ask().Error(firstError);
}

void TVorkaOMaticFrm::FillHostList()
{
    QList<QByteArray> hosts;
    FLog.GetHosts(hosts);
    cbHostList->clear();
    for (const QByteArray& h : hosts)
        cbHostList->addItem(Win1252::toUnicode(h), h);
    cbHostList->setCurrentIndex(-1);
}

void TVorkaOMaticFrm::cbHostListChange()
{
    const int index = cbHostList->currentIndex();
    if (index < 0)
        return;
    int years = 0, days = 0, hours = 0, minutes = 0, seconds = 0;
    if (FLog.TotalForHost(cbHostList->itemData(index, kHostRole).toByteArray(), years, days,
                          hours, minutes, seconds))
        edtOnlineTime->setText(Win1252::toUnicode(
            TVorkaOMatic::FormatYDHMS(years, days, hours, minutes, seconds)));
    else
        edtOnlineTime->setText(QStringLiteral("Keine Daten verfügbar..."));
    edtOnlineTime->setCursorPosition(0); // long totals show their beginning
}

void TVorkaOMaticFrm::btnDeleteEntryClick()
{
    const int row = LogGrid->currentRow();
    const int logIndex = LogIndexOfRow(row);
    if (logIndex < 0)
        return;
    if (Ask().Confirm(QStringLiteral("Markierten Eintrag entfernen?"), false) !=
        IPrompts::Answer::Yes)
        return;
    LogGrid->removeRow(row);
    FLog.DeleteEntry(logIndex);
    for (int r = 0; r < LogGrid->rowCount(); ++r)
        for (int c = 0; c < LogGrid->columnCount(); ++c) {
            QTableWidgetItem* item = LogGrid->item(r, c);
            const int i = item->data(kLogIndexRole).toInt();
            if (i > logIndex)
                item->setData(kLogIndexRole, i - 1);
        }

    const int selected = cbHostList->currentIndex();
    FillHostList();
    if (selected >= cbHostList->count()) {
        if (cbHostList->count() == 1)
            cbHostList->setCurrentIndex(0);
    } else {
        cbHostList->setCurrentIndex(selected);
    }
    cbHostListChange();
}

void TVorkaOMaticFrm::btnClearLogClick()
{
    if (Ask().Confirm(QStringLiteral("Alle Einträge aus Log-Datei entfernen?"), false) !=
        IPrompts::Answer::Yes)
        return;
    // Yes stands for OK here: the prompts offer no OK/Cancel question of their own.
    if (!Ask().ConfirmOkCancel(QStringLiteral("Bitte Löschen der Ternu-O-Matic(tm) Log-Datei bestätigen !")))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FLog.Clear();
    FillGrid();
    FillHostList();
    QApplication::restoreOverrideCursor();
}

void TVorkaOMaticFrm::LogGridHeaderClick(int column)
{
    if (LogGrid->rowCount() >= 2) {
        FSortAscending = column == FSortColumn ? !FSortAscending : true;
        FSortColumn = column;
        LogGrid->sortItems(column, FSortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
        LogGrid->scrollToItem(LogGrid->currentItem());
    }
    // The header moves its indicator on every click; keep it where the rows really are.
    const int shown = FSortColumn < 0 ? 0 : FSortColumn;
    LogGrid->horizontalHeader()->setSortIndicator(
        shown, FSortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QString TVorkaOMaticFrm::AskHtmlFileName()
{
    if (OnAskHtmlFileName)
        return OnAskHtmlFileName();
    QFileDialog dlg(this);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(QStringLiteral("htm"));
    dlg.setNameFilters({QStringLiteral("HTML-Datei (*.htm)"), QStringLiteral("Alle Dateien (*)")});
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().constFirst();
}

void TVorkaOMaticFrm::btnSaveHtmlClick()
{
    const QString name = AskHtmlFileName();
    if (!name.isEmpty())
        SaveHtmlTo(name);
}

bool TVorkaOMaticFrm::SaveHtmlTo(const QString& fileName)
{
    if (QFileInfo(fileName).absoluteDir().exists() &&
        SafeFile::write(fileName, VorkaHtml(VorkaTableFromGrid(*LogGrid))))
        return true;
    Ask().Error(QStringLiteral("Kann nicht nach %1 schreiben").arg(QDir::toNativeSeparators(fileName)));
    return false;
}

void TVorkaOMaticFrm::btnPrintPreviewClick()
{
    TMudVorkaPrintPreview preview(*LogGrid, this);
    if (OnRunPreview)
        OnRunPreview(preview);
    else
        preview.exec();
}

bool TVorkaOMaticFrm::SetupPrinter(QPrinter& printer)
{
    if (OnSetupPrinter)
        return OnSetupPrinter(printer);
    QPrintDialog dlg(&printer, this);
    return dlg.exec() == QDialog::Accepted;
}

void TVorkaOMaticFrm::btnPrintClick()
{
    if (Ask().Confirm(QStringLiteral("Log-Datei ausdrucken?"), false) != IPrompts::Answer::Yes)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("Statistik"));
    if (!SetupPrinter(printer))
        return;
    TVorkaPrintJob job{VorkaTableFromGrid(*LogGrid), DateTime::dateTimeToStr(DateTime::now())};
    if (!PrintVorkaTable(printer, job))
        Ask().Error(QStringLiteral("Der Drucker konnte nicht geöffnet werden."));
}
