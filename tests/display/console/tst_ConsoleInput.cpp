// Keys typed into the console: the type-ahead buffer, blocking reads with echo, the
// caret and Ctrl+C. (The client binds no standard stream to its console.)

#include "ConsoleTestUtil.h"

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
            error = ThrownBy<EInvalidOperation>([&] { b.ReadKey(); });
            postKeys(&a, "k");
        });
        QCOMPARE(a.ReadKey(), 'k');
        QCOMPARE(error, QStringLiteral("Read already active"));
        QVERIFY(!a.Reading() && !b.Reading());
        postKeys(&b, "m");
        QCOMPARE(b.ReadKey(), 'm');
    }

    void noCaretWithTheClientsOptions()
    {
        TShownConsole c(20, 4);
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(&c, &in);
        QVERIFY(c.Focused());
        QVERIFY(!c.CaretVisible());
    }

    void quitEndsReadKey()
    {
        TColorConsole c;
        QTimer::singleShot(5, [] { QCoreApplication::exit(0); });
        QCOMPARE(ThrownBy<KmcError>([&] { c.ReadKey(); }), QStringLiteral("WM_Quit received during ReadKey"));
        QVERIFY(!c.Reading());
    }
};

QTEST_MAIN(TestConsoleInput)
#include "tst_ConsoleInput.moc"
