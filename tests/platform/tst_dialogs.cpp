#include "platform/ui/QtDialogs.h"
#include "support/TestCase.h"

#include <QComboBox>
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
    void fileTypesShowTheirCaptionsAlone_data();
    void fileTypesShowTheirCaptionsAlone();
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

void TestDialogs::fileTypesShowTheirCaptionsAlone_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("mode");
    // The editor's and the viewer's file types, whose captions name patterns of their own.
    const QString editor = QStringLiteral("Html Files(*.HTM;*.Html) (*.HTM *.Htm *.htm *.HTML *.Html *.html);;"
                                          "Text Files (*.Txt) (*.TXT *.Txt *.txt);;All Files (*.*) (*)");
    const QStringList editorCaptions{QStringLiteral("Html Files(*.HTM;*.Html)"), QStringLiteral("Text Files (*.Txt)"),
                                     QStringLiteral("All Files (*.*)")};
    const QString viewer = QStringLiteral("Pictures (*.Bmp *.BMP *.bmp *.Gif *.GIF *.gif)");
    for (const auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        const char *kind = mode == QFileDialog::AcceptOpen ? "open" : "save";
        QTest::addRow("editor, %s", kind) << editor << editorCaptions << int(mode);
        QTest::addRow("viewer, %s", kind) << viewer << QStringList{QStringLiteral("Pictures")} << int(mode);
    }
}

void TestDialogs::fileTypesShowTheirCaptionsAlone()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, captions);
    QFETCH(int, mode);
    FileDialogRequest request{QStringLiteral("TextPad"), QString(), QString(), filter};
    const std::unique_ptr<QFileDialog> dialog = QtDialogs::fileDialog(request, QFileDialog::AcceptMode(mode));

    QVERIFY(dialog->testOption(QFileDialog::HideNameFilterDetails));
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptMode(mode));
    const auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    QStringList shown;
    for (int row = 0; row < types->count(); ++row)
        shown << types->itemText(row);
    QCOMPARE(shown, captions);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
