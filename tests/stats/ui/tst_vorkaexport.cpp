// The statistics window's HTML file, printing to a PDF file and the print preview.
#include "ScriptedPrompts.h"
#include "VorkaTestLog.h"
#include "stats/ui/Mudvorka.h"
#include "stats/ui/VorkaPrint.h"
#include "stats/ui/VorkaTable.h"
#include "stats/ui/mudpprev.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Answer = IPrompts::Answer;

namespace {

QByteArray ReadAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int PdfPages(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

TVorkaOMatic LogOf(int entries)
{
    TVorkaOMatic log;
    for (int i = 0; i < entries; ++i)
        AddConnection(log, i % 2 ? "mud.example.org" : "andere.welt", "05.12.1998 13:09:47",
                      "05.12.1998 14:02:11");
    return log;
}

int CountInk(const QImage& image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++ink;
    return ink;
}

} // namespace

class TestVorkaExport : public QObject {
    Q_OBJECT
private slots:
    void htmlOfTwoEntries()
    {
        ScriptedPrompts prompts;
        QTemporaryDir dir;
        TVorkaOMatic log;
        AddConnection(log, "mud.example.org", "05.12.1998 13:09:47", "05.12.1998 14:02:11");
        AddConnection(log, "b\xe4r", "06.12.1998 08:00:00", "06.12.1998 09:05:09");
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);
        frm.OnAskHtmlFileName = [&] { return dir.filePath("stat.htm"); };
        frm.btnSaveHtml->click();

        const QByteArray expected =
            "<table border=1>\r\n<tr>\r\n"
            "<td nowrap BGCOLOR=\"#D8D8D8\"><B>Datum</B></td>\r\n"
            "<td nowrap BGCOLOR=\"#D8D8D8\"><B>Host</B></td>\r\n"
            "<td nowrap BGCOLOR=\"#D8D8D8\"><B>Start</B></td>\r\n"
            "<td nowrap BGCOLOR=\"#D8D8D8\"><B>Stop</B></td>\r\n"
            "<td nowrap BGCOLOR=\"#D8D8D8\"><B>Online-Zeit</B></td>\r\n"
            "</tr>\r\n<tr>\r\n"
            "<td nowrap>05.12.1998</td>\r\n<td nowrap>mud.example.org</td>\r\n"
            "<td nowrap>13:09:47</td>\r\n<td nowrap>14:02:11</td>\r\n"
            "<td nowrap>0h 52m 24s</td>\r\n"
            "</tr>\r\n<tr>\r\n"
            "<td nowrap>06.12.1998</td>\r\n<td nowrap>b\xe4r</td>\r\n"
            "<td nowrap>08:00:00</td>\r\n<td nowrap>09:05:09</td>\r\n"
            "<td nowrap>1h 05m 09s</td>\r\n"
            "</tr>\r\n</table><p>\r\n";
        const QByteArray written = ReadAll(dir.filePath("stat.htm"));
        QCOMPARE(written, expected);
        QCOMPARE(written.count("\r\n"), 23);
        QVERIFY(prompts.log.isEmpty());
    }

    void htmlBreaksForEmptyTextsAndCarriageReturns()
    {
        TVorkaTable table;
        table.Headers = {"A", ""};
        table.Rows = {{"x\ry", ""}, {"<i>", "\r"}};
        QCOMPARE(VorkaHtml(table),
                 QByteArray("<table border=1>\r\n<tr>\r\n"
                            "<td nowrap BGCOLOR=\"#D8D8D8\"><B>A</B></td>\r\n"
                            "<td nowrap BGCOLOR=\"#D8D8D8\"><B><br></B></td>\r\n"
                            "</tr>\r\n<tr>\r\n<td nowrap>x<br>y</td>\r\n<td nowrap><br></td>\r\n"
                            "</tr>\r\n<tr>\r\n<td nowrap><i></td>\r\n<td nowrap><br></td>\r\n"
                            "</tr>\r\n</table><p>\r\n"));
    }

    void htmlToMissingFolderIsReported()
    {
        ScriptedPrompts prompts;
        QTemporaryDir dir;
        TVorkaOMatic log = LogOf(1);
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);
        const QString missing = dir.filePath("fehlt/stat.htm");
        frm.OnAskHtmlFileName = [&] { return missing; };
        frm.btnSaveHtml->click();
        QCOMPARE(prompts.log, QStringList{"Error: Kann nicht nach " + missing + " schreiben"});
        QVERIFY(!QFile::exists(missing));
    }

    void printsPages_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("minPages");
        QTest::addColumn<int>("maxPages");
        QTest::newRow("empty log: one page with the header row") << 0 << 1 << 1;
        QTest::newRow("many entries run over several pages") << 200 << 3 << 8;
        QTest::newRow("answered no: nothing printed") << -1 << 0 << 0;
    }

    void printsPages()
    {
        QFETCH(int, entries);
        QFETCH(int, minPages);
        QFETCH(int, maxPages);
        ScriptedPrompts prompts;
        QTemporaryDir dir;
        const QString pdf = dir.filePath("stat.pdf");
        TVorkaOMatic log = LogOf(entries < 0 ? 2 : entries);
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);
        frm.OnSetupPrinter = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::A4));
            return true;
        };
        prompts.answers = {entries < 0 ? Answer::No : Answer::Yes};
        frm.btnPrint->click();
        QCOMPARE(prompts.log, QStringList{"Confirm2: Log-Datei ausdrucken?"});
        QCOMPARE(QFile::exists(pdf), entries >= 0);

        const int pages = PdfPages(ReadAll(pdf));
        QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));
    }

    void previewDrawsPagesAndCloses()
    {
        ScriptedPrompts prompts;
        TVorkaOMatic log = LogOf(200);
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<TMudVorkaPrintPreview*>(QApplication::activeModalWidget());
            QVERIFY(preview);
            ran = true;
            QVERIFY(preview->PageCount() > 1);
            const QImage first = preview->PaintBox1->grab().toImage();
            QVERIFY(CountInk(first) > 500);
            QTest::keyClick(preview, Qt::Key_PageDown);
            QCOMPARE(preview->Page(), 1);
            QVERIFY(preview->PaintBox1->grab().toImage() != first);
            QTest::keyClick(preview, Qt::Key_Escape);
            QVERIFY(!preview->isVisible());
        });
        frm.btnPrintPreview->click();
        QVERIFY(ran);
    }
};

QTEST_MAIN(TestVorkaExport)
#include "tst_vorkaexport.moc"
