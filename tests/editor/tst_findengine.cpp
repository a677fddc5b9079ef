// Where Find and Find Next find their text: the search by itself.

#include "editor/FindEngine.h"
#include "support/TestCase.h"

#include <QTest>

class FindEngineTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void nextMatch_data();
    void nextMatch();
    void aRunOfSearchesOverAbcabc_data();
    void aRunOfSearchesOverAbcabc();
    void positionsBeyond16Bits();
};

void FindEngineTest::nextMatch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("what");
    QTest::addColumn<qsizetype>("caret");
    QTest::addColumn<bool>("fresh");
    QTest::addColumn<qsizetype>("lastPos");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<qsizetype>("found"); // -1: nothing

    QTest::newRow("fresh down finds a match at the caret") << "abcabc" << "abc" << qsizetype(3) << true << qsizetype(3) << true << false << qsizetype(3);
    QTest::newRow("repeated down skips the match at the caret") << "abcabc" << "abc" << qsizetype(3) << false << qsizetype(3) << true << false << qsizetype(-1);
    QTest::newRow("caret moved since: nothing skipped") << "abcabc" << "abc" << qsizetype(3) << false << qsizetype(0) << true << false << qsizetype(3);
    QTest::newRow("down from the end") << "abc" << "c" << qsizetype(3) << true << qsizetype(0) << true << false << qsizetype(-1);
    QTest::newRow("fresh up finds the match ending at the caret") << "abcabc" << "c" << qsizetype(6) << true << qsizetype(0) << false << false << qsizetype(5);
    QTest::newRow("fresh up, longer text ending at the caret") << "abcabc" << "abc" << qsizetype(6) << true << qsizetype(0) << false << false << qsizetype(3);
    QTest::newRow("fresh up never finds one past the caret") << "abcab" << "bca" << qsizetype(3) << true << qsizetype(0) << false << false << qsizetype(-1);
    QTest::newRow("repeated up finds the one before the match") << "abcabc" << "c" << qsizetype(5) << false << qsizetype(5) << false << false << qsizetype(2);
    QTest::newRow("up from 0") << "abcabc" << "a" << qsizetype(0) << true << qsizetype(0) << false << false << qsizetype(-1);
    QTest::newRow("case ignored") << "xaBcx" << "AbC" << qsizetype(0) << true << qsizetype(0) << true << false << qsizetype(1);
    QTest::newRow("case matched") << "xaBcx ABC" << "ABC" << qsizetype(0) << true << qsizetype(0) << true << true << qsizetype(6);
    QTest::newRow("case ignored keeps lengths") << QStringLiteral("Stra\u00DFe strasse") << QStringLiteral("STRASSE") << qsizetype(0) << true << qsizetype(0) << true << false << qsizetype(7);
    QTest::newRow("accented letters fold") << QStringLiteral("caf\u00C9") << QStringLiteral("\u00E9") << qsizetype(0) << true << qsizetype(0) << true << false << qsizetype(3);
    QTest::newRow("across a line break") << "ab\ncd" << "b\nc" << qsizetype(0) << true << qsizetype(0) << true << false << qsizetype(1);
}

void FindEngineTest::nextMatch()
{
    QFETCH(QString, text);
    QFETCH(QString, what);
    QFETCH(qsizetype, caret);
    QFETCH(bool, fresh);
    QFETCH(qsizetype, lastPos);
    QFETCH(bool, down);
    QFETCH(bool, matchCase);
    QFETCH(qsizetype, found);
    const FindState state{what, matchCase, down ? 1 : 0, lastPos, fresh};
    QCOMPARE(FindEngine::nextMatch(text, caret, state).value_or(-1), found);
}

void FindEngineTest::aRunOfSearchesOverAbcabc_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<qsizetype>("caret");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QList<qsizetype>>("matches"); // -1: nothing, the caret stays
    QTest::newRow("down three times") << 1 << qsizetype(0) << "abc" << QList<qsizetype>{0, 3, -1};
    QTest::newRow("up from the end") << 0 << qsizetype(6) << "c" << QList<qsizetype>{5, 2, -1};
    QTest::newRow("up from 0") << 0 << qsizetype(0) << "abc" << QList<qsizetype>{-1, -1};
}

// As the editor runs it: each search leaves the caret at its match and is then no longer fresh.
void FindEngineTest::aRunOfSearchesOverAbcabc()
{
    QFETCH(int, direction);
    QFETCH(qsizetype, caret);
    QFETCH(QString, what);
    QFETCH(QList<qsizetype>, matches);
    FindState state{what, false, direction, 0, true};
    for (const qsizetype expected : matches) {
        const std::optional<qsizetype> found = FindEngine::nextMatch(QStringLiteral("abcabc"), caret, state);
        QCOMPARE(found.value_or(-1), expected);
        if (found)
            caret = *found;
        state.FindLastPos = caret;
        state.FindFresh = false;
    }
}

void FindEngineTest::positionsBeyond16Bits()
{
    const QString text = QString(70000, QLatin1Char('x')) + QStringLiteral("needle") + QString(5, QLatin1Char('x'));
    FindState state{QStringLiteral("needle"), false, 1, 0, true};
    QCOMPARE(FindEngine::nextMatch(text, 40000, state).value_or(-1), qsizetype(70000));
    state.FindDirection = 0;
    QCOMPARE(FindEngine::nextMatch(text, text.size(), state).value_or(-1), qsizetype(70000));
}

QTEST_GUILESS_MAIN(FindEngineTest)
#include "tst_findengine.moc"
