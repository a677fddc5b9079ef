#include "settings/IniDocument.h"
#include "support/TestCase.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The settings file's document on its own: what it reads compared with QSettings, and changes
// that update the parsed file in place compared with a parse of the bytes they give.

namespace {

// Every key QSettings finds in the bytes, with its text.
QMap<QString, QString> qsettingsValues(const QByteArray &bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("read.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    file.close();
    QSettings settings(path, QSettings::IniFormat);
    QMap<QString, QString> values;
    for (const QString &key : settings.allKeys())
        values.insert(key, settings.value(key).toString());
    return values;
}

QString textOf(const IniDocument &document, const QString &key)
{
    const std::optional<IniSyntax::Value> value = document.value(key);
    return value && value->isText ? value->text : QStringLiteral("<none>");
}

} // namespace

class TestIniDocument : public TestCase
{
    Q_OBJECT

private slots:
    void lineEndsReadAsQSettingsReadsThem_data();
    void lineEndsReadAsQSettingsReadsThem();
    void newLinesEndAsTheFileDoes_data();
    void newLinesEndAsTheFileDoes();
    void aNewValueBeforeTheEndLeavesTheLastLineAlone();
    void changesInPlaceMatchAFreshParse();
};

void TestIniDocument::lineEndsReadAsQSettingsReadsThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray lines[] = {"[Software]", "Panoptra\\Menu\\mnuFav1=One", "", "; a comment",
                                "Panoptra\\Menu\\mnuFav2=Two words", "[Other]", "k=v"};
    for (const char *end : {"\n", "\r\n", "\r"}) {
        QByteArray bytes;
        for (const QByteArray &line : lines)
            bytes += line + end;
        QTest::addRow("%s", end[0] == '\n' ? "LF" : end[1] ? "CR LF" : "lone CR") << bytes;
    }
    QTest::newRow("mixed") << QByteArray("[Software]\rPanoptra\\Menu\\mnuFav1=One\r\n\n\rPanoptra\\Menu\\mnuFav2=2\n"
                                         "[Other]\n\rk=v\r\n\r\nk2=v2");
}

void TestIniDocument::lineEndsReadAsQSettingsReadsThem()
{
    QFETCH(QByteArray, bytes);
    const QMap<QString, QString> expected = qsettingsValues(bytes);
    QVERIFY(expected.size() >= 3);
    const IniDocument document(bytes);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(textOf(document, it.key()), it.value());
}

void TestIniDocument::newLinesEndAsTheFileDoes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("lone CR") << QByteArray("[Software]\rPanoptra\\Menu\\mnuFav1=One\r")
                             << QByteArray("[Software]\rPanoptra\\Menu\\mnuFav1=One\rPanoptra\\Menu\\mnuFav2=Two\r"
                                           "\r[Other]\rk=v\r");
    QTest::newRow("lone CR, none at the end") << QByteArray("[Software]\rPanoptra\\Menu\\mnuFav1=One")
                                              << QByteArray("[Software]\rPanoptra\\Menu\\mnuFav1=One\r"
                                                            "Panoptra\\Menu\\mnuFav2=Two\r\r[Other]\rk=v\r");
    QTest::newRow("CR LF") << QByteArray("[Software]\r\nPanoptra\\Menu\\mnuFav1=One\r\n")
                           << QByteArray("[Software]\r\nPanoptra\\Menu\\mnuFav1=One\r\nPanoptra\\Menu\\mnuFav2=Two\r\n"
                                         "\r\n[Other]\r\nk=v\r\n");
}

void TestIniDocument::newLinesEndAsTheFileDoes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    IniDocument document(bytes);
    QVERIFY(document.setText({QStringLiteral("Software"), QStringLiteral("Panoptra"), QStringLiteral("Menu"),
                              QStringLiteral("mnuFav2")}, QStringLiteral("Two")));
    QVERIFY(document.setText({QStringLiteral("Other"), QStringLiteral("k")}, QStringLiteral("v")));
    QCOMPARE(document.bytes(), expected);
    const QMap<QString, QString> values = qsettingsValues(document.bytes());
    QCOMPARE(values.value(QStringLiteral("Software/Panoptra/Menu/mnuFav2")), QStringLiteral("Two"));
    QCOMPARE(values.value(QStringLiteral("Other/k")), QStringLiteral("v"));
}

// A line that ends without a line end (here one no reader takes) is another program's: a value
// put before it leaves it as it is.
void TestIniDocument::aNewValueBeforeTheEndLeavesTheLastLineAlone()
{
    const QByteArray bytes("[Software]\nPanoptra\\Menu\\mnuFav1=One\n[Other]\nnot a value");
    IniDocument document(bytes);
    QVERIFY(document.setText({QStringLiteral("Software"), QStringLiteral("Panoptra"), QStringLiteral("Menu"),
                              QStringLiteral("mnuFav2")}, QStringLiteral("Two")));
    QCOMPARE(document.bytes(), QByteArray("[Software]\nPanoptra\\Menu\\mnuFav1=One\nPanoptra\\Menu\\mnuFav2=Two\n"
                                          "[Other]\nnot a value"));
}

void TestIniDocument::changesInPlaceMatchAFreshParse()
{
    // Random saves and deletes over a file of several sections, other programs' lines, keys in
    // two spellings and a last line without its line end. After each change, every key reads
    // from the changed document as from a document parsed afresh from its bytes.
    const QByteArray start = "\xef\xbb\xbf; made by hand\n[General]\ntop=1\n[Software]\r\n"
                             "Panoptra\\Menu\\mnuFav1=One\r\nnot a value\r\nPANOPTRA\\menu\\mnuFav2=Two\n"
                             "[Other]\nk=v ; comment\n\n[Software]\nPanoptra\\MainForm\\Form%20BackColor=5";
    QStringList keys;
    for (const char *group : {"Software/Panoptra/Menu/", "Software/Panoptra/WebLinks/", "Other/", "Third/Deep/"}) {
        for (int i = 1; i <= 6; ++i)
            keys << QLatin1String(group) + QStringLiteral("mnuFav%1").arg(i);
    }
    keys << QStringLiteral("top") << QStringLiteral("Other/k") << QStringLiteral("Software/Panoptra/MainForm/Form BackColor");

    QRandomGenerator random(40);
    for (int round = 0; round < 20; ++round) {
        IniDocument document(start);
        for (int step = 0; step < 60; ++step) {
            const QString key = keys.at(random.bounded(int(keys.size())));
            const QString spelled = random.bounded(2) ? key : key.toUpper();
            if (random.bounded(3) == 0) {
                document.remove(spelled);
            } else {
                const QString text = QString(random.bounded(12), QLatin1Char('x')) + QString::number(step)
                                     + (random.bounded(4) == 0 ? QStringLiteral(";,\"é") : QString());
                document.setText(spelled.split(u'/'), text);
            }
            const IniDocument fresh(document.bytes());
            for (const QString &each : keys)
                QCOMPARE(textOf(document, each), textOf(fresh, each));
        }
        // What QSettings reads agrees as well.
        const QMap<QString, QString> values = qsettingsValues(document.bytes());
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (keys.contains(it.key()))
                QCOMPARE(textOf(document, it.key()), it.value());
        }
    }
}

QTEST_GUILESS_MAIN(TestIniDocument)
#include "tst_inidocument.moc"
