// Where Find and Find Next find their text: the search by itself.

#include "editor/FindEngine.h"
#include "textbox/TextLines.h"
#include "support/TestCase.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
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
    void agreesWithQtsSearch();
    void linearInEverySetting_data();
    void linearInEverySetting();
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
    QTest::newRow("a letter beyond 16 bits folds whole") << QStringLiteral("x\U00010400y") << QStringLiteral("\U00010428") << qsizetype(0) << true << qsizetype(0) << true << false << qsizetype(1);
    QTest::newRow("a letter beyond 16 bits, case matched") << QStringLiteral("x\U00010400y") << QStringLiteral("\U00010428") << qsizetype(0) << true << qsizetype(0) << true << true << qsizetype(-1);
    QTest::newRow("up, a letter beyond 16 bits folds whole") << QStringLiteral("\U00010428x\U00010400y") << QStringLiteral("\U00010428") << qsizetype(5) << true << qsizetype(0) << false << false << qsizetype(3);
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

// Over many small texts in every setting the search finds exactly what QString's own search
// finds, which is what the editor used before (characters of 16 bits, where the two agree).
void FindEngineTest::agreesWithQtsSearch()
{
    const QString alphabet = QStringLiteral("aAbB\n\u00DF\u00C9\u00E9");
    QRandomGenerator random(31);
    const auto randomText = [&](int maxLength) {
        QString s;
        const int length = int(random.bounded(maxLength + 1));
        for (int i = 0; i < length; ++i)
            s += alphabet.at(int(random.bounded(alphabet.size())));
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const QString text = randomText(12);
        QString what = randomText(4);
        if (what.isEmpty())
            what = QStringLiteral("a");
        const qsizetype caret = random.bounded(int(text.size()) + 1);
        const bool fresh = random.bounded(2) == 0;
        const qsizetype lastPos = random.bounded(2) == 0 ? caret : random.bounded(int(text.size()) + 1);
        const bool down = random.bounded(2) == 0;
        const bool matchCase = random.bounded(2) == 0;
        const FindState state{what, matchCase, down ? 1 : 0, lastPos, fresh};

        const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        const bool repeated = !fresh && caret == lastPos;
        qsizetype expected = -1;
        if (down) {
            expected = text.indexOf(what, caret + (repeated ? 1 : 0), cs);
        } else {
            const qsizetype from = repeated ? caret - 1 : caret - what.size();
            if (from >= 0)
                expected = text.lastIndexOf(what, from, cs);
        }
        const qsizetype found = FindEngine::nextMatch(text, caret, state).value_or(-1);
        // The editor searches its lines one by one: the same places.
        const qint64 foundInLines = FindEngine::nextMatch(TextLines(text), caret, state).value_or(-1);
        if (found != expected || foundInLines != expected)
            QFAIL(qPrintable(QStringLiteral("\"%1\" in \"%2\", caret %3, %4, %5, %6: %7 (in lines %9), not %8")
                                 .arg(what, text).arg(caret)
                                 .arg(down ? QStringLiteral("down") : QStringLiteral("up"),
                                      matchCase ? QStringLiteral("case") : QStringLiteral("no case"),
                                      repeated ? QStringLiteral("repeated") : QStringLiteral("fresh"))
                                 .arg(found).arg(expected).arg(foundInLines)));
    }
}

void FindEngineTest::linearInEverySetting_data()
{
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("letterFirst"); // "b" + "a" x 100,000, else "a" x 100,000 + "b"
    for (const bool down : {true, false}) {
        for (const bool matchCase : {true, false}) {
            for (const bool letterFirst : {true, false}) {
                const QString name = QStringLiteral("%1, %2, b %3")
                                         .arg(down ? QStringLiteral("down") : QStringLiteral("up"),
                                              matchCase ? QStringLiteral("case matched") : QStringLiteral("case ignored"),
                                              letterFirst ? QStringLiteral("first") : QStringLiteral("last"));
                QTest::newRow(qPrintable(name)) << down << matchCase << letterFirst;
            }
        }
    }
}

// A find text that almost matches everywhere in a line of 600,000 letters: every setting ends
// well within a second (the search is linear; such a find once took minutes).
void FindEngineTest::linearInEverySetting()
{
    QFETCH(bool, down);
    QFETCH(bool, matchCase);
    QFETCH(bool, letterFirst);
    const QString text(600000, QLatin1Char('a'));
    const QString run(100000, QLatin1Char('a'));
    const QString what = letterFirst ? QStringLiteral("b") + run : run + QStringLiteral("b");
    const FindState state{what, matchCase, down ? 1 : 0, 0, true};
    QElapsedTimer timer;
    timer.start();
    const std::optional<qsizetype> found = FindEngine::nextMatch(text, down ? 0 : text.size(), state);
    const qint64 elapsed = timer.elapsed();
    QVERIFY(!found);
    QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));

    // Where the find text does occur, at the far end from the caret, it is found there.
    const QString withMatch = down ? text + what : what + text;
    const std::optional<qsizetype> far = FindEngine::nextMatch(withMatch, down ? 0 : withMatch.size(), state);
    QCOMPARE(far.value_or(-1), down ? text.size() : qsizetype(0));
}

QTEST_GUILESS_MAIN(FindEngineTest)
#include "tst_findengine.moc"
