#include "display/controls/tbedit.h"

#include <QTest>
#include <QVBoxLayout>

namespace
{

// The input line followed by a second edit in tab order, in an active window.
struct TInputWindow {
    QWidget window;
    TTbEdit* input = new TTbEdit(&window);
    QLineEdit* next = new QLineEdit(&window);
    int calls = 0;
    int key = 0;
    Qt::KeyboardModifiers shift;

    TInputWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(input);
        layout->addWidget(next);
        window.show();
        window.activateWindow();
        input->setFocus();
    }

    void RecordTab(bool consume)
    {
        input->SetOnTabKeyPress(
            [this, consume](QObject* Sender, int& Key, Qt::KeyboardModifiers Shift) {
                QCOMPARE(Sender, static_cast<QObject*>(input));
                ++calls;
                key = Key;
                shift = Shift;
                if (consume) Key = 0;
            });
    }
};

} // namespace

class TstTbEdit : public QObject
{
    Q_OBJECT
private slots:
    void tabReachesTheHandlerFirst_data()
    {
        using Mods = Qt::KeyboardModifiers;
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("consume");
        QTest::addColumn<Mods>("reported");
        QTest::newRow("cleared key keeps the focus") << int(Qt::Key_Tab) << true << Mods();
        QTest::newRow("key left: focus moves on") << int(Qt::Key_Tab) << false << Mods();
        QTest::newRow("backtab is tab with shift")
            << int(Qt::Key_Backtab) << true << Mods(Qt::ShiftModifier);
    }

    void tabReachesTheHandlerFirst()
    {
        QFETCH(int, key);
        QFETCH(bool, consume);
        QFETCH(Qt::KeyboardModifiers, reported);
        TInputWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.input->setText("nimm Sch");
        w.RecordTab(consume);
        QTest::keyClick(w.input, Qt::Key(key));
        QCOMPARE(w.calls, 1);
        QCOMPARE(w.key, int(Qt::Key_Tab));
        QCOMPARE(w.shift, reported);
        QCOMPARE(w.input->hasFocus(), consume);
        QCOMPARE(w.input->text(), QString("nimm Sch"));
    }

    void handlerMayRemoveItselfWhileRunning()
    {
        TInputWindow w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        const QString captured(30, 'x');
        w.input->SetOnTabKeyPress([&w, captured](QObject*, int& Key, Qt::KeyboardModifiers) {
            w.input->SetOnTabKeyPress(nullptr);
            QCOMPARE(captured.size(), 30); // the closure is still alive here
            ++w.calls;
            Key = 0;
        });
        QTest::keyClick(w.input, Qt::Key_Tab);
        QVERIFY(w.input->hasFocus());
        QTest::keyClick(w.input, Qt::Key_Tab); // no handler now: plain navigation
        QCOMPARE(w.calls, 1);
        QVERIFY(w.next->hasFocus());
    }

    void keyDownAndKeyPressComeBeforeTheEdit()
    {
        TTbEdit edit;
        QList<int> keys;
        QByteArray chars;
        edit.SetOnKeyDown([&keys](QObject*, int& Key, Qt::KeyboardModifiers) {
            keys << Key;
            if (Key == Qt::Key_X) Key = 0;
        });
        edit.SetOnKeyPress([&chars](QObject*, char& Key) {
            chars.append(Key);
            if (Key == 'a') Key = 'b';
            if (Key == 'q') Key = 0;
        });
        QTest::keyClicks(&edit, "axqc");
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_Adiaeresis, QString::fromUtf8("\xC3\xA4"),
                            Qt::NoModifier);
        QTest::keyClick(&edit, Qt::Key_Left); // no character
        QTest::keyClick(&edit, Qt::Key_Return);
        QCOMPARE(edit.text(), QString::fromUtf8("bc\xC3\xA4"));
        QCOMPARE(keys, (QList<int>{Qt::Key_A, Qt::Key_X, Qt::Key_Q, Qt::Key_C, Qt::Key_Adiaeresis,
                                   Qt::Key_Left, Qt::Key_Return}));
        QCOMPARE(chars, QByteArray("aqc\xE4\r"));
    }
};

QTEST_MAIN(TstTbEdit)
#include "tst_tbedit.moc"
