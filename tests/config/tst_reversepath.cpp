// The way back from a stored path.
#include "config/MudConfig.h"

#include <QTest>

class TestReversePath : public QObject {
    Q_OBJECT
private slots:
    void reverses_data();
    void reverses();
    void results();
};

void TestReversePath::reverses_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("back");
    QTest::newRow("compass") << QByteArray("n;o;no") << QByteArray("sw;w;s;");
    QTest::newRow("trimmed one-letter step, long step kept")
        << QByteArray("N; O ;hoch;kletter hoch") << QByteArray("kletter hoch;runter;w;s;");
    QTest::newRow("spelled out, any case") << QByteArray("Rechtsoben;raus")
                                           << QByteArray("rein;linksunten;");
    QTest::newRow("unknown one-letter step stays") << QByteArray("n;u;s")
                                                   << QByteArray("n;u;s;");
    QTest::newRow("last step keeps its blank") << QByteArray("n; o") << QByteArray(" o;s;");
    QTest::newRow("empty steps vanish") << QByteArray("n;;s;") << QByteArray("n;s;");
    QTest::newRow("empty path") << QByteArray() << QByteArray();
    QTest::newRow("all opposites")
        << QByteArray("h;r;w;s;nw;sw;so;rein;runter;links;rechts;vorne;zurueck;linksunten;"
                      "rechtsunten;linksoben")
        << QByteArray("rechtsunten;linksoben;rechtsoben;vorne;zurueck;links;rechts;hoch;raus;"
                      "nw;no;so;n;o;h;r;");
}

void TestReversePath::reverses()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, back);
    TMudConfig c;
    c.FPaths = {"hin/" + path};
    QCOMPARE(c.ReversePath("hin", "zurueck"), 0);
    QVERIFY(c.FModified);
    QCOMPARE(c.FPaths.last(), "zurueck/" + back);
}

void TestReversePath::results()
{
    TMudConfig c;
    c.FPaths = {"heim/n;"};
    c.FAliases = {"tanz/x"};
    QCOMPARE(c.ReversePath("weg", "neu"), -1);
    QCOMPARE(c.ReversePath("heim", "tanz"), -2);
    QCOMPARE(c.ReversePath("heim", "heim"), -2);
    QVERIFY(!c.FModified);
    QCOMPARE(c.FPaths.size(), 1);
    QCOMPARE(c.ReversePath("HEIM", "Heim"), 0); // source found in any case, name exact
    QCOMPARE(c.FPaths.last(), QByteArray("Heim/s;"));
}

QTEST_GUILESS_MAIN(TestReversePath)
#include "tst_reversepath.moc"
