#include "folders/FolderReader.h"
#include "folders/NamePattern.h"
#include "support/TestCase.h"

#include <QTest>

class TestNamePattern : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void matches_data();
    void matches();
    void emptyTextMatchesEverything();
    void wholeTextIsOnePattern_data();
    void wholeTextIsOnePattern();
    void sortIgnoresCase_data();
    void sortIgnoresCase();
};

void TestNamePattern::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");

    QTest::newRow("*.* takes a name without a dot") << "*.*" << "Makefile" << true;
    QTest::newRow("*.* takes a name with a dot") << "*.*" << "a.txt" << true;
    QTest::newRow("ending in other case") << "*.TXT" << "a.txt" << true;
    QTest::newRow("name in other case") << "*.txt" << "README.TXT" << true;
    QTest::newRow("ending must be last") << "*.txt" << "a.txt.bak" << false;
    QTest::newRow("brackets are literal") << "[a].txt" << "[a].txt" << true;
    QTest::newRow("brackets are no class") << "[a].txt" << "a.txt" << false;
    QTest::newRow("first of two patterns") << "*.zip;*.bat" << "x.zip" << true;
    QTest::newRow("second of two patterns") << "*.zip;*.bat" << "RUN.BAT" << true;
    QTest::newRow("neither of two patterns") << "*.zip;*.bat" << "x.txt" << false;
    QTest::newRow("empty part skipped") << "*.zip;" << "x.txt" << false;
    QTest::newRow("comma: first of two patterns") << "*.zip,*.bat" << "x.zip" << true;
    QTest::newRow("comma: second of two patterns") << "*.zip,*.bat" << "RUN.BAT" << true;
    QTest::newRow("comma: neither of two patterns") << "*.zip,*.bat" << "x.txt" << false;
    QTest::newRow("comma and semicolon mixed") << "*.zip,*.bat;*.log" << "a.log" << true;
    QTest::newRow("comma: empty part skipped") << ",*.zip,," << "x.zip" << true;
    QTest::newRow("empty pattern") << "" << "anything.at.all" << true;
    QTest::newRow("? one letter") << "?.txt" << "a.txt" << true;
    QTest::newRow("? not two letters") << "?.txt" << "ab.txt" << false;
    QTest::newRow("? not zero letters") << "?.txt" << ".txt" << false;
    QTest::newRow("? one letter beyond the BMP") << "?.txt" << QString::fromUtf8("\xF0\x9F\x98\x80.txt") << true;
    QTest::newRow("stars in order") << "a*b*c" << "aXXbYYc" << true;
    QTest::newRow("stars empty") << "a*b*c" << "abc" << true;
    QTest::newRow("stars wrong order") << "a*b*c" << "acb" << false;
    QTest::newRow("stars missing end") << "a*b*c" << "aXbY" << false;
    QTest::newRow("star backtracks") << "*ab" << "aab" << true;
    QTest::newRow("trailing star matches nothing after an ending") << "*.htm*" << "page.htm" << true;
    QTest::newRow("trailing star matches nothing after a name") << "report*" << "report" << true;
    QTest::newRow("no wildcard: the name so written") << "notes.txt" << "NOTES.TXT" << true;
    QTest::newRow("no wildcard: nothing else") << "notes.txt" << "notes.txt2" << false;
    QTest::newRow("blank kept as typed") << " *.txt" << "a.txt" << false;
    QTest::newRow("trailing .* takes no dot") << "read*.*" << "readme" << true;
    QTest::newRow("trailing .* still needs the start") << "read*.*" << "notes" << false;
    QTest::newRow("letters beyond ASCII fold") << QString::fromUtf8("*.\xC3\x84Z") << QString::fromUtf8("x.\xC3\xA4z") << true;
}

void TestNamePattern::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, expected);
    QCOMPARE(NamePattern(pattern).matches(name), expected);
}

void TestNamePattern::emptyTextMatchesEverything()
{
    QVERIFY(NamePattern().matchesEverything());
    QVERIFY(NamePattern(QStringLiteral("*.*")).matchesEverything());
    QVERIFY(NamePattern(QStringLiteral("*.txt;*")).matchesEverything());
    QVERIFY(!NamePattern(QStringLiteral("*.txt")).matchesEverything());
    QCOMPARE(NamePattern(QStringLiteral("*.zip;*.bat")).text(), QStringLiteral("*.zip;*.bat"));
}

void TestNamePattern::wholeTextIsOnePattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");

    QTest::newRow("semicolon is a letter") << "a;b.txt" << "a;b.txt" << true;
    QTest::newRow("no part stands alone") << "a;b.txt" << "b.txt" << false;
    QTest::newRow("star after a semicolon is no catch-all") << "*.txt;*" << "notes.doc" << false;
    QTest::newRow("star after a semicolon still matches") << "*.txt;*" << "a.txt;old" << true;
    QTest::newRow("comma is a letter") << "*.log,*.txt" << "a.txt" << false;
    QTest::newRow("trailing .* takes no dot") << "read*.*" << "readme" << true;
}

void TestNamePattern::wholeTextIsOnePattern()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, expected);
    const NamePattern whole(pattern, NamePattern::Parts::Whole);
    QCOMPARE(whole.matches(name), expected);
    QVERIFY(!whole.matchesEverything());
}

void TestNamePattern::sortIgnoresCase_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("mixed case") << QStringList{"b.txt", "C.txt", "a.TXT"} << QStringList{"a.TXT", "b.txt", "C.txt"};
    QTest::newRow("prefix first") << QStringList{"ab", "A"} << QStringList{"A", "ab"};
    QTest::newRow("long shared start") << QStringList{"averyveryverylongnameB", "AVERYVERYVERYLONGNAMEa"}
                                       << QStringList{"AVERYVERYVERYLONGNAMEa", "averyveryverylongnameB"};
    QTest::newRow("same but case: fixed order") << QStringList{"a.txt", "A.txt"} << QStringList{"A.txt", "a.txt"};
    QTest::newRow("beyond ASCII") << QStringList{QString::fromUtf8("\xC3\xA9t\xC3\xA9"), "Zed", QString::fromUtf8("\xC3\x89T\xC3\x89S"), "apple"}
                                  << QStringList{"apple", "Zed", QString::fromUtf8("\xC3\xA9t\xC3\xA9"), QString::fromUtf8("\xC3\x89T\xC3\x89S")};
}

void TestNamePattern::sortIgnoresCase()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    FolderReader::sortNames(names);
    QCOMPARE(names, expected);
}

QTEST_GUILESS_MAIN(TestNamePattern)
#include "tst_namepattern.moc"
