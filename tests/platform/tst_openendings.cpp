#include "platform/OpenEndings.h"
#include "support/TestCase.h"

#include <QSet>
#include <QTest>

// The ending tables as data: what holds for every name, whatever the table's order.
class TestOpenEndings : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void endingRule_data();
    void endingRule();
    void textTypesMatchAtMostOneEntry();
    void everyDispatchRowIsReachable();
    void pictureEndings_data();
    void pictureEndings();
};

void TestOpenEndings::endingRule_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("has");
    QTest::newRow("with a dot") << "a.txt" << "txt" << true;
    QTest::newRow("without a dot") << "catalog" << "log" << true;
    QTest::newRow("the whole name") << "txt" << "txt" << true;
    QTest::newRow("other case") << "a.Txt" << "txt" << false;
    QTest::newRow("shorter than the ending") << "ml" << "html" << false;
    QTest::newRow("empty name") << "" << "txt" << false;
    QTest::newRow("only the end counts") << "txt.old" << "txt" << false;
    QTest::newRow("ending with a dot") << "data.Z" << ".Z" << true;
    QTest::newRow("blank before the ending") << "a .txt " << "txt" << false;
}

void TestOpenEndings::endingRule()
{
    QFETCH(QString, name);
    QFETCH(QString, ending);
    QFETCH(bool, has);
    QCOMPARE(OpenEndings::endsIn(name, ending), has);
}

void TestOpenEndings::textTypesMatchAtMostOneEntry()
{
    // The opening walks the whole list: a name that had two endings would open twice.
    const QStringList &endings = OpenEndings::textTypeEndings();
    QCOMPARE(endings.size(), 63);
    QCOMPARE(QSet<QString>(endings.begin(), endings.end()).size(), endings.size());
    for (const QString &ending : endings) {
        for (const QString &other : endings) {
            if (other != ending)
                QVERIFY2(!OpenEndings::endsIn(ending, other), qPrintable(ending + " ~ " + other));
        }
    }
    QCOMPARE(OpenEndings::archiveEndings().size(), 27);
}

void TestOpenEndings::everyDispatchRowIsReachable()
{
    // No earlier row takes all the names of a later one: each case form of each group comes
    // back as its own group.
    const QList<QPair<QStringList, OpenGroup>> samples = {
        {{"Sys", "BAT", "exe", "DLL", "com"}, OpenGroup::Run},
        {{"wav", "Mpg", "AVI", "Mid", "MIDI", "asf", "Aiff", "AIF", "aifc", "snd", "Swf", "RMI",
          "mp3", "WMA", "au", "WPL"},
         OpenGroup::Media},
        {{"WMF", "bmp", "Jpg", "JPEG", "gif", "Ico", "CUR"}, OpenGroup::Picture},
        {{"htm", "HTML", "Html"}, OpenGroup::Html},
    };
    for (const auto &[endings, group] : samples) {
        for (const QString &ending : endings)
            QCOMPARE(OpenEndings::dispatchGroup(QStringLiteral("x.") + ending, {}), std::optional(group));
    }
    QVERIFY(!OpenEndings::dispatchGroup(QStringLiteral("clip.Mpeg"), {}));
    QCOMPARE(OpenEndings::dispatchGroup(QStringLiteral("clip.Mpeg"), {QStringLiteral("Mpeg")}),
             std::optional(OpenGroup::Media));
}

void TestOpenEndings::pictureEndings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("picture");
    QTest::newRow("lower case") << "a.bmp" << true;
    QTest::newRow("capitalised") << "a.Gif" << true;
    QTest::newRow("upper case") << "A.WMF" << true;
    QTest::newRow("four-letter jpeg") << "photo.jpeg" << true;
    QTest::newRow("cursor") << "arrow.CUR" << true;
    QTest::newRow("mixed case") << "a.bMp" << false;
    QTest::newRow("no dot needed") << "xjpg" << true;
    QTest::newRow("html is no picture") << "a.htm" << false;
    QTest::newRow("media is no picture") << "a.wav" << false;
    QTest::newRow("png is not in the table") << "a.png" << false;
}

// View Graphic's gate and the double-click agree on what a picture is.
void TestOpenEndings::pictureEndings()
{
    QFETCH(QString, name);
    QFETCH(bool, picture);
    QCOMPARE(OpenEndings::endsInAny(name, OpenEndings::pictureEndings()), picture);
    QCOMPARE(OpenEndings::dispatchGroup(name, {}) == OpenGroup::Picture, picture);
    QCOMPARE(OpenEndings::pictureEndings().size(), 21);
}

QTEST_MAIN(TestOpenEndings)
#include "tst_openendings.moc"
