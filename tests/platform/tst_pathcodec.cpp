#include "platform/PathCodec.h"
#include "support/TestCase.h"

#include <QTest>

class TestPathCodec : public TestCase
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void decodesValidUtf8AsText_data();
    void decodesValidUtf8AsText();
    void displayText();
};

void TestPathCodec::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rawBytes");
    QTest::newRow("ascii") << QByteArray("/home/ann/notes.txt") << 0;
    QTest::newRow("two-byte utf-8") << QByteArray("/tmp/caf\xc3\xa9") << 0;
    QTest::newRow("four-byte utf-8") << QByteArray("/tmp/\xf0\x9f\x92\x80.png") << 0;
    QTest::newRow("lone 0xff") << QByteArray("/tmp/bad\xff.txt") << 1;
    QTest::newRow("latin-1 e-acute") << QByteArray("caf\xe9") << 1;
    QTest::newRow("truncated sequence at the end") << QByteArray("a\xe2\x82") << 2;
    QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf") << 2;
    QTest::newRow("encoded surrogate") << QByteArray("a\xed\xb2\x80") << 3;
    QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << 4;
    QTest::newRow("every high byte") << [] {
        QByteArray all;
        for (int b = 0x80; b <= 0xff; ++b)
            all += char(b);
        return all;
    }() << 128;
    QTest::newRow("escape after a valid pair") << QByteArray("\xf0\x9f\x92\x80\x80") << 1;
    // A byte-order mark is a character of the name like any other, also after a raw byte.
    QTest::newRow("a name that begins with a byte-order mark") << QByteArray("\xef\xbb\xbfnotes.txt") << 0;
    QTest::newRow("a byte-order mark after a raw byte") << QByteArray("\xff\xef\xbb\xbf\xc3\xa9") << 1;
    QTest::newRow("U+FEFF twice") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf") << 0;
}

void TestPathCodec::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rawBytes);
    const QString decoded = PathCodec::decode(bytes);
    QCOMPARE(PathCodec::encode(decoded), bytes);
    QCOMPARE(PathCodec::hasRawBytes(decoded), rawBytes > 0);
    QCOMPARE(int(PathCodec::displayText(decoded).count(QChar::ReplacementCharacter)), rawBytes);
}

void TestPathCodec::decodesValidUtf8AsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("report.log");
    QTest::newRow("accents") << QStringLiteral("r\u00e9sum\u00e9.txt");
    QTest::newRow("a real replacement mark") << QStringLiteral("bad\uFFFD.txt");
    QTest::newRow("outside the basic plane") << QString::fromUtf8("\xf0\x9f\x92\x80");
    QTest::newRow("a byte-order mark first") << QStringLiteral("\uFEFFnotes.txt");
}

void TestPathCodec::decodesValidUtf8AsText()
{
    QFETCH(QString, text);
    QCOMPARE(PathCodec::decode(text.toUtf8()), text);
    QCOMPARE(PathCodec::encode(text), text.toUtf8());
}

void TestPathCodec::displayText()
{
    // The byte 0xFF and a real U+FFFD look alike on screen, yet stay two names.
    const QString raw = PathCodec::decode(QByteArray("bad\xff.txt"));
    const QString twin = QStringLiteral("bad\uFFFD.txt");
    QVERIFY(raw != twin);
    QCOMPARE(PathCodec::displayText(raw), twin);
    QVERIFY(PathCodec::encode(raw) != PathCodec::encode(twin));
}

QTEST_GUILESS_MAIN(TestPathCodec)
#include "tst_pathcodec.moc"
