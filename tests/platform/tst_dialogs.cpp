#include "platform/ui/QtDialogs.h"
#include "support/TestCase.h"

#include <QLabel>
#include <QMessageBox>
#include <QTest>

// The message boxes the program shows: what they hold is text, never markup.
class TestDialogs : public TestCase
{
    Q_OBJECT

private slots:
    void messageShowsItsTextAsItIs_data();
    void messageShowsItsTextAsItIs();
};

void TestDialogs::messageShowsItsTextAsItIs_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("a name that reads as markup") << QStringLiteral("<b>x</b>.txt could not be copied");
    QTest::newRow("a path with an entity") << QStringLiteral("/tmp/&lt;b&gt;.txt");
    QTest::newRow("typed text with a link") << QStringLiteral("<a href=\"x\">click</a>");
}

void TestDialogs::messageShowsItsTextAsItIs()
{
    QFETCH(QString, text);
    const std::unique_ptr<QMessageBox> box = QtDialogs::messageBox(MessageRequest{text, QStringLiteral("Panoptra")});

    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->text(), text);
    const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), text);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
