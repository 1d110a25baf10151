// Keys typed into the console: the type-ahead buffer, blocking reads with echo, the
// caret, Ctrl+C, and the binding of the standard streams.

#include "ConsoleTestUtil.h"

#include <iostream>

namespace {
void postKeys(QWidget* w, const QByteArray& keys)
{
    for (char c : keys)
        QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, QString(QLatin1Char(c))));
}

class TBreakConsole : public TColorConsole {
public:
    int Breaks = 0;
    void DoCtrlBreak() override { ++Breaks; }
};
} // namespace

class TestConsoleInput : public QObject {
    Q_OBJECT
private slots:
    void keyBufferHoldsSixtyFourAndCtrlCBreaks()
    {
        TBreakConsole c;
        for (int i = 0; i < 70; ++i)
            QTest::keyClick(&c, char('a' + i % 26));
        QCOMPARE(c.KeyCount(), 64);
        QCOMPARE(c.ReadKey(), 'a');
        QCOMPARE(c.ReadKey(), 'b');
        QTest::keyClick(&c, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(c.Breaks, 1);
        for (int i = 0; i < 62; ++i)
            c.ReadKey();
        QCOMPARE(c.ReadKey(), '\x03');
        QVERIFY(!c.KeyPressed());
        QTest::keyClick(&c, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(c.ReadKey(), '\x1a');
        c.SetOptions(c.Options() & ~coCheckBreak);
        QTest::keyClick(&c, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(c.Breaks, 1);
    }

    void readBufEditsAndEchoes()
    {
        TShownConsole c(20, 4);
        c.SetOptions(c.Options() & ~coLazyWrite);
        postKeys(&c, QByteArray("nord\b\bx\t\r", 9));
        char buf[32];
        const int n = c.ReadBuf(buf, int(sizeof buf));
        QCOMPARE(QByteArray(buf, n), QByteArray("nox\r\n"));
        QCOMPARE(c.RowText(0).left(4), QByteArray("nox "));
        QCOMPARE(c.Cursor(), QPoint(0, 1));
        c.SetOptions(c.Options() | coCheckEOF);
        postKeys(&c, QByteArray("a\x1a", 2));
        QCOMPARE(c.ReadBuf(buf, int(sizeof buf)), 2);
        QCOMPARE(buf[1], '\x1a');
    }

    void readBufKeepsWithinSmallBuffer()
    {
        TColorConsole c;
        char guard[8];
        memset(guard, '#', sizeof guard);
        postKeys(&c, "abc\r");
        QCOMPARE(c.ReadBuf(guard, 3), 3);
        QCOMPARE(QByteArray(guard, 4), QByteArray("a\r\n#"));
        postKeys(&c, "abc\r");
        QCOMPARE(c.ReadBuf(guard, 1), 1);
        QCOMPARE(QByteArray(guard, 2), QByteArray("\r\r"));
        postKeys(&c, "\r");
        QCOMPARE(c.ReadBuf(guard, 0), 0);
    }

    void onlyOneReaderAtATime()
    {
        TColorConsole a;
        TColorConsole b;
        QString error;
        QTimer::singleShot(5, &b, [&] {
            error = thrownBy<EInvalidOperation>([&] { b.ReadKey(); });
            postKeys(&a, "k");
        });
        QCOMPARE(a.ReadKey(), 'k');
        QCOMPARE(error, QStringLiteral("Read already active"));
        QVERIFY(!a.Reading() && !b.Reading());
        postKeys(&b, "m");
        QCOMPARE(b.ReadKey(), 'm');
    }

    void caretFollowsFocus()
    {
        TShownConsole c(20, 4);
        QFocusEvent in(QEvent::FocusIn);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(&c, &in);
        QVERIFY(c.Focused());
        QVERIFY(!c.CaretVisible());  // the client's options never show one
        QApplication::sendEvent(&c, &out);
        c.SetOptions(c.Options() | coFulltimeCursor);
        QApplication::sendEvent(&c, &in);
        QVERIFY(c.CaretVisible());
        c.WriteString("ab");
        QVERIFY(c.CaretVisible());
        const QImage lit = freshPixels(c);
        QTRY_VERIFY(freshPixels(c) != lit);  // it blinks
        QApplication::sendEvent(&c, &out);
        QVERIFY(!c.CaretVisible());
    }

    void standardOutput()
    {
        TColorConsole c;
        TColorConsole other;
        c.SetLineBreak(TConsoleLineBreak::LF);
        c.SetOptions(c.Options() | coStdOutput);
        std::cout << "Hallo " << 42 << std::endl << "Welt" << std::flush;
        QCOMPARE(c.RowText(0).left(9), QByteArray("Hallo 42 "));
        QCOMPARE(c.RowText(1).left(4), QByteArray("Welt"));
        QCOMPARE(thrownBy<KmcError>([&] { other.SetOptions(other.Options() | coStdOutput); }),
                 QStringLiteral("TConsole.SetOptions: Standard Output is already open"));
        // A long text goes out in chunks, nothing lost.
        const std::string longText(300, 'x');
        std::cout << longText << std::flush;
        QCOMPARE(c.Cursor(), QPoint((4 + 300) % 80, 1 + (4 + 300) / 80));
        c.SetOptions(c.Options() & ~coStdOutput);
        other.SetOptions(other.Options() | coStdOutput);
        other.SetOptions(other.Options() & ~coStdOutput);
        QVERIFY(!(other.Options() & coStdOutput));
    }

    void standardInput()
    {
        auto c = std::make_unique<TColorConsole>();
        c->SetOptions(c->Options() | coStdInput);
        postKeys(c.get(), "42 Ork\r");
        int number = 0;
        std::string word;
        std::cin >> number >> word;
        QCOMPARE(number, 42);
        QCOMPARE(word, std::string("Ork"));
        QCOMPARE(c->RowText(0).left(6), QByteArray("42 Ork"));
        // Destroying the console gives the stream its own buffer back.
        c.reset();
        TColorConsole next;
        next.SetOptions(next.Options() | coStdInput);
        next.SetOptions(next.Options() & ~coStdInput);
    }

    void quitEndsReadKey()
    {
        TColorConsole c;
        QTimer::singleShot(5, [] { QCoreApplication::exit(0); });
        QCOMPARE(thrownBy<KmcError>([&] { c.ReadKey(); }), QStringLiteral("WM_Quit received during ReadKey"));
        QVERIFY(!c.Reading());
    }
};

QTEST_MAIN(TestConsoleInput)
#include "tst_ConsoleInput.moc"
