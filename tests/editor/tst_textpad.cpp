// The editor window: its design, the Edit commands, the toolbar, the Options menu and the keys.

#include "EditorFixture.h"

#include "editor/EditCommands.h"
#include "editor/TextpadDesign.h"
#include "editor/ToolbarButton.h"
#include "platform/ui/MenuTree.h"
#include "support/TestCase.h"

#include <QAction>
#include <QFontDatabase>
#include <QMenu>
#include <QMouseEvent>
#include <QTextLayout>

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class TextpadTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<EditorFixture> f;

    Textpad *withText(const QString &text)
    {
        Textpad *textpad = f->window();
        textpad->txtNote()->setPlainText(text);
        f->editor.state().textChanged = false;
        return textpad;
    }
    ToolbarButton *button(const QString &name) { return f->window()->findChild<ToolbarButton *>(name); }

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<EditorFixture>(); }
    void cleanup()
    {
        QVERIFY(f->dialogs().scriptIsEmpty());
        f.reset();
    }

    void design();
    void menuTree();
    void longLinesWrap_data();
    void longLinesWrap();
    void deleteCommand_data();
    void deleteCommand();
    void cutCopyPaste_data();
    void cutCopyPaste();
    void copyReplacesAPaneCopysFolder();
    void selectAllSelectsTheWholeText();
    void timeDate_data();
    void timeDate();
    void onlyRealTextChangesMarkTheDocument();
    void menuKeysWinOverTheTextBox_data();
    void menuKeysWinOverTheTextBox();
    void toolbarButtonFaces();
    void toolbarButtonsRunTheirCommands();
    void optionsToolbarHidesTheStripOnly();
    void fontsMenuListsEveryScreenFont();
};

void TextpadTest::design()
{
    Textpad *textpad = f->window();
    QCOMPARE(textpad->centralWidget()->size(), QSize(723, 441));
    QCOMPARE(textpad->picToolbar()->geometry(), QRect(0, 0, 723, 27));
    QCOMPARE(textpad->txtNote()->geometry(), QRect(8, 32, 713, 409));
    QCOMPARE(textpad->txtNote()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(textpad->minimumSize(), textpad->maximumSize());

    const QList<std::tuple<QString, QString, QRect>> buttons{
        {QStringLiteral("imgFileNewButton"), QStringLiteral("New File"), QRect(0, 0, 24, 22)},
        {QStringLiteral("imgFileOpenButton"), QStringLiteral("Open File"), QRect(24, 0, 24, 22)},
        {QStringLiteral("imgCutButton"), QStringLiteral("Cut"), QRect(56, 0, 25, 22)},
        {QStringLiteral("imgCopyButton"), QStringLiteral("Copy"), QRect(80, 0, 25, 22)},
        {QStringLiteral("imgPasteButton"), QStringLiteral("Paste"), QRect(104, 0, 25, 22)},
    };
    for (const auto &[name, tip, place] : buttons) {
        ToolbarButton *picture = button(name);
        QVERIFY2(picture, qPrintable(name));
        QCOMPARE(picture->parentWidget(), textpad->picToolbar());
        QCOMPARE(picture->toolTip(), tip);
        QCOMPARE(picture->geometry(), place);
        QVERIFY(!picture->isDown());
    }
}

void TextpadTest::menuTree()
{
    const QStringList lines = f->window()->menus().dump();
    const QStringList expected{
        QStringLiteral("- | mnuFile | &File |  | visible"),
        QStringLiteral("mnuFile | mnuOpen | Open |  | visible"),
        QStringLiteral("mnuFile | mnuFileNew | &New |  | visible"),
        QStringLiteral("mnuFile | mnuFileSave | &Save |  | visible"),
        QStringLiteral("mnuFile | mnuFileSaveAs | Save &As |  | visible"),
        QStringLiteral("mnuFile | mnuFSep1 | - |  | visible"),
        QStringLiteral("mnuFile | mnuFileExit | Exit |  | visible"),
        QStringLiteral("- | mnuEdit | &Edit |  | visible"),
        QStringLiteral("mnuEdit | mnuEditCut | Cut | Ctrl+X | visible"),
        QStringLiteral("mnuEdit | mnuEditCopy | &Copy | Ctrl+C | visible"),
        QStringLiteral("mnuEdit | mnuEditPaste | &Paste | Ctrl+V | visible"),
        QStringLiteral("mnuEdit | mnuEditDelete | Delete | Del | visible"),
        QStringLiteral("mnuEdit | mnuEditSelectAll | Select All |  | visible"),
        QStringLiteral("mnuEdit | mnuEditTime | Time / &Date |  | visible"),
        QStringLiteral("- | mnuSearch | &Search |  | visible"),
        QStringLiteral("mnuSearch | mnuSearchFind | &Find |  | visible"),
        QStringLiteral("mnuSearch | mnuSearchFindNext | Find &Next | F3 | visible"),
        QStringLiteral("- | mnuOptions | &Options |  | visible"),
        QStringLiteral("mnuOptions | mnuOptionsToolbar | &Toolbar |  | visible"),
        QStringLiteral("mnuOptions | mnuFonts | &Fonts |  | visible"),
        QStringLiteral("mnuFonts | mnuFontName | ") + f->window()->menus().action(QStringLiteral("mnuFontName"))->text()
            + QStringLiteral(" |  | visible"),
        QStringLiteral("- | mnuHtmledit0 | HTML |  | hidden"),
        QStringLiteral("mnuHtmledit0 | mnuHtmledit1 | Show Changes |  | visible"),
        QStringLiteral("mnuHtmledit0 | mnuView | View Html |  | visible"),
    };
    QCOMPARE(lines, expected);
    // A line and nothing beside it: a separator's text would show next to the line.
    QVERIFY(f->window()->menus().action(QStringLiteral("mnuFSep1"))->isSeparator());
    QVERIFY(f->window()->menus().action(QStringLiteral("mnuFSep1"))->text().isEmpty());
    QVERIFY(!f->window()->menus().action(QStringLiteral("mnuOptionsToolbar"))->isChecked());
}

void TextpadTest::longLinesWrap_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("atBlanks");
    QTest::addColumn<bool>("anywhere");
    QString words;
    for (int n = 0; n < 60; ++n)
        words += QStringLiteral("word%1 ").arg(n);
    QTest::newRow("words break at blanks") << words << true << false;
    QTest::newRow("a word wider than the box breaks") << QString(3000, QLatin1Char('x')) << false << false;
    // Longer words would cost time with the square of their length.
    QTest::newRow("a word of more than 4096 characters: the line breaks anywhere")
        << words + QString(QByteArray(2100, '\xAB').toHex()) << false << true;
}

void TextpadTest::longLinesWrap()
{
    QFETCH(QString, line);
    QFETCH(bool, atBlanks);
    QFETCH(bool, anywhere);
    Textpad *textpad = withText(QStringLiteral("> "));
    // Added to a line already there, as a paste would bring it.
    TextBox *box = textpad->txtNote();
    box->setCursorPosition(box->characterCount());
    box->insertText(line);
    const QString text = box->lines().line(0);
    QCOMPARE(TextBox::wrapModeFor(text), anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Laid out as the box shows it.
    const int rows = box->rowsOf(0);
    QVERIFY(rows > 1);
    for (int n = 0; n < rows; ++n) {
        const LineLayout::Row row = box->rowOf(0, n);
        QVERIFY(row.textLength() > 0);
        QVERIFY(row.naturalTextWidth() <= box->layoutWidth());
        if (atBlanks && n + 1 < rows)
            QCOMPARE(text.at(row.textStart() + row.textLength() - 1), QLatin1Char(' '));
    }
    // Another line of the same text wraps at blanks.
    box->insertText(u"\nshort words");
    QCOMPARE(TextBox::wrapModeFor(box->lines().line(1)), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void TextpadTest::deleteCommand_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("after");
    QTest::newRow("caret at the end") << "abc" << 3 << 0 << "abc";
    QTest::newRow("caret inside") << "abc" << 1 << 0 << "ac";
    QTest::newRow("before a line break") << "ab\ncd" << 2 << 0 << "abcd";
    QTest::newRow("before the last line break") << "ab\n" << 2 << 0 << "ab";
    QTest::newRow("selection") << "abcdef" << 1 << 3 << "aef";
    QTest::newRow("selection to the end") << "abcdef" << 3 << 3 << "abc";
    QTest::newRow("selection over a line break") << "ab\ncd" << 1 << 3 << "ad";
    QTest::newRow("empty text") << "" << 0 << 0 << "";
}

void TextpadTest::deleteCommand()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, after);
    Textpad *textpad = withText(text);
    f->select(start, length);
    textpad->edit().deleteSelection();
    QCOMPARE(textpad->text(), after);
    QCOMPARE(f->changed(), after != text);
    QCOMPARE(textpad->txtNote()->position(), start);
}

void TextpadTest::cutCopyPaste_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("clipboardBefore");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<int>("caret");
    QTest::newRow("copy") << "copy" << 1 << 2 << "old" << "abcd" << "bc" << 3;
    QTest::newRow("copy with nothing selected empties") << "copy" << 2 << 0 << "old" << "abcd" << "" << 2;
    QTest::newRow("cut") << "cut" << 1 << 2 << "old" << "ad" << "bc" << 1;
    QTest::newRow("cut with nothing selected") << "cut" << 2 << 0 << "old" << "abcd" << "" << 2;
    QTest::newRow("paste over the selection") << "paste" << 1 << 2 << "XY" << "aXYd" << "XY" << 3;
    QTest::newRow("paste at the caret") << "paste" << 4 << 0 << "!" << "abcd!" << "!" << 5;
    QTest::newRow("paste CR LF lines") << "paste" << 0 << 0 << "1\r\n2\r" << "1\n2\nabcd" << "1\r\n2\r" << 4;
    QTest::newRow("paste with no text removes the selection") << "paste" << 1 << 2 << "" << "ad" << "" << 1;
    QTest::newRow("paste with no text, no selection") << "paste" << 1 << 0 << "" << "abcd" << "" << 1;
}

void TextpadTest::cutCopyPaste()
{
    QFETCH(QString, command);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, clipboardBefore);
    QFETCH(QString, after);
    QFETCH(QString, clipboardAfter);
    QFETCH(int, caret);
    Textpad *textpad = withText(QStringLiteral("abcd"));
    if (clipboardBefore.isEmpty())
        f->services.clipboard.clear();
    else
        f->services.clipboard.setText(clipboardBefore);
    f->select(start, length);

    if (command == QLatin1String("copy"))
        textpad->edit().CopySelectedText();
    else if (command == QLatin1String("cut"))
        textpad->edit().CutSelectedText();
    else
        textpad->edit().PasteClipboardText();

    QCOMPARE(textpad->text(), after);
    QCOMPARE(f->services.clipboard.text(), clipboardAfter);
    QCOMPARE(f->changed(), after != QLatin1String("abcd"));
    QCOMPARE(textpad->txtNote()->position(), caret);
    if (command != QLatin1String("copy"))
        QVERIFY(!textpad->txtNote()->hasSelection());
}

void TextpadTest::copyReplacesAPaneCopysFolder()
{
    // A pane's Copy keeps its folder as clipboard text; the editor's Copy replaces it.
    f->services.clipboard.setText(f->dir.path());
    Textpad *textpad = withText(QStringLiteral("line one\nline two"));
    f->select(5, 8);
    textpad->edit().CopySelectedText();
    QCOMPARE(f->services.clipboard.text(), QStringLiteral("one\nline"));
}

void TextpadTest::selectAllSelectsTheWholeText()
{
    Textpad *textpad = withText(QStringLiteral("ab\ncd"));
    f->select(1, 0);
    textpad->edit().selectAll();
    QCOMPARE(textpad->txtNote()->selectionStart(), 0);
    QCOMPARE(textpad->txtNote()->selectionEnd(), 5);
    QVERIFY(!f->changed());

    withText(QString());
    textpad->edit().selectAll();
    QVERIFY(!textpad->txtNote()->hasSelection());
    QCOMPARE(textpad->txtNote()->position(), 0);
}

void TextpadTest::timeDate_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<bool>("withTime");
    QTest::newRow("morning") << QTime(9, 30, 15) << true;
    QTest::newRow("a second after midnight") << QTime(0, 0, 1) << true;
    QTest::newRow("midnight: the date only") << QTime(0, 0) << false;
}

void TextpadTest::timeDate()
{
    QFETCH(QTime, time);
    QFETCH(bool, withTime);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    f->services.clock.time = QDateTime(QDate(2026, 12, 10), time);
    Textpad *textpad = withText(QStringLiteral("[old]"));
    f->select(1, 3);
    textpad->menus().action(QStringLiteral("mnuEditTime"))->trigger();
    const QString date = QStringLiteral("12/10/26");
    const QString inserted = withTime ? date + QLatin1Char(' ') + QLocale().toString(time, QStringLiteral("h:mm:ss AP"))
                                      : date;
    QCOMPARE(textpad->text(), QLatin1Char('[') + inserted + QLatin1Char(']'));
    QVERIFY(f->changed());
    QLocale::setDefault(QLocale::system());
}

void TextpadTest::onlyRealTextChangesMarkTheDocument()
{
    Textpad *textpad = withText(QStringLiteral("text"));
    f->select(0, 2);
    textpad->edit().CopySelectedText();
    textpad->edit().selectAll();
    textpad->mnuOptionsToolbar_Click();
    textpad->mnuOptionsToolbar_Click();
    textpad->mnuFontName_Click(0);
    QVERIFY(!f->changed());
    f->type(QStringLiteral("!"));
    QVERIFY(f->changed());
}

void TextpadTest::menuKeysWinOverTheTextBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("Ctrl+C with nothing selected empties the clipboard")
        << int(Qt::Key_C) << int(Qt::ControlModifier) << "ab\ncd" << "";
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << int(Qt::ControlModifier) << "ab\ncd" << "";
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << "ab\nkeptcd" << "kept";
    QTest::newRow("Del before a line break") << int(Qt::Key_Delete) << 0 << "abcd" << "kept";
}

void TextpadTest::menuKeysWinOverTheTextBox()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    QFETCH(QString, clipboard);
    Textpad *textpad = withText(QStringLiteral("ab\ncd"));
    textpad->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(textpad));
    textpad->txtNote()->setFocus();
    f->services.clipboard.setText(QStringLiteral("kept"));
    // The caret after the line break for Paste; before it for the others.
    f->select(key == Qt::Key_V ? 3 : 2, 0);
    int runs = 0;
    const QString item = key == Qt::Key_C   ? QStringLiteral("mnuEditCopy")
                         : key == Qt::Key_X ? QStringLiteral("mnuEditCut")
                         : key == Qt::Key_V ? QStringLiteral("mnuEditPaste")
                                            : QStringLiteral("mnuEditDelete");
    QObject::connect(textpad->menus().action(item), &QAction::triggered, textpad, [&runs] { ++runs; });

    QTest::keyClick(textpad->txtNote(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(runs, 1);
    QCOMPARE(textpad->text(), after);
    QCOMPARE(f->services.clipboard.text(), clipboard);
}

void TextpadTest::toolbarButtonFaces()
{
    ToolbarButton *cut = button(QStringLiteral("imgCutButton"));
    int runs = 0;
    QObject::connect(cut, &ToolbarButton::clicked, cut, [&runs] { ++runs; });
    const QPoint inside(5, 5);
    const QPoint outside(cut->width() + 5, 5);

    // Pressed, dragged off and released outside: up again, no command.
    sendMouse(cut, QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(cut->isDown());
    sendMouse(cut, QEvent::MouseMove, outside, Qt::NoButton, Qt::LeftButton);
    QVERIFY(!cut->isDown());
    sendMouse(cut, QEvent::MouseButtonRelease, outside, Qt::LeftButton, Qt::NoButton);
    QVERIFY(!cut->isDown());
    QCOMPARE(runs, 0);

    // Dragged off and back, released on it: one command.
    sendMouse(cut, QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
    sendMouse(cut, QEvent::MouseMove, outside, Qt::NoButton, Qt::LeftButton);
    sendMouse(cut, QEvent::MouseMove, inside, Qt::NoButton, Qt::LeftButton);
    QVERIFY(cut->isDown());
    sendMouse(cut, QEvent::MouseButtonRelease, inside, Qt::LeftButton, Qt::NoButton);
    QVERIFY(!cut->isDown());
    QCOMPARE(runs, 1);

    // The left edge counts as outside, the top edge as inside.
    sendMouse(cut, QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
    sendMouse(cut, QEvent::MouseMove, QPoint(0, 5), Qt::NoButton, Qt::LeftButton);
    QVERIFY(!cut->isDown());
    sendMouse(cut, QEvent::MouseMove, QPoint(5, 0), Qt::NoButton, Qt::LeftButton);
    QVERIFY(cut->isDown());
    // A move with another button held as well changes nothing.
    sendMouse(cut, QEvent::MouseMove, outside, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    QVERIFY(cut->isDown());
    sendMouse(cut, QEvent::MouseButtonRelease, outside, Qt::LeftButton, Qt::NoButton);

    // The right button shows the faces and runs nothing.
    sendMouse(cut, QEvent::MouseButtonPress, inside, Qt::RightButton, Qt::RightButton);
    QVERIFY(cut->isDown());
    sendMouse(cut, QEvent::MouseButtonRelease, inside, Qt::RightButton, Qt::NoButton);
    QVERIFY(!cut->isDown());
    QCOMPARE(runs, 1);
}

void TextpadTest::toolbarButtonsRunTheirCommands()
{
    Textpad *textpad = withText(QStringLiteral("abcd"));
    auto click = [this](const char *name) {
        ToolbarButton *picture = button(QLatin1String(name));
        sendMouse(picture, QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
        sendMouse(picture, QEvent::MouseButtonRelease, QPoint(3, 3), Qt::LeftButton, Qt::NoButton);
    };
    f->select(1, 2);
    click("imgCopyButton");
    QCOMPARE(f->services.clipboard.text(), QStringLiteral("bc"));
    click("imgCutButton");
    QCOMPARE(textpad->text(), QStringLiteral("ad"));
    click("imgPasteButton");
    QCOMPARE(textpad->text(), QStringLiteral("abcd"));
    // New on a changed text asks first.
    f->dialogs().answerMessage(MessageAnswer::No);
    click("imgFileNewButton");
    QCOMPARE(textpad->windowTitle(), QStringLiteral("New"));
    QVERIFY(textpad->text().isEmpty());
}

void TextpadTest::optionsToolbarHidesTheStripOnly()
{
    Textpad *textpad = f->window();
    QAction *toolbar = textpad->menus().action(QStringLiteral("mnuOptionsToolbar"));
    const QRect box = textpad->txtNote()->geometry();
    Q_EMIT textpad->menus().menu(QStringLiteral("mnuOptions"))->aboutToShow();
    QVERIFY(toolbar->isChecked());

    toolbar->trigger();
    QVERIFY(textpad->picToolbar()->isHidden());
    QVERIFY(!toolbar->isChecked());
    QCOMPARE(textpad->txtNote()->geometry(), box);

    toolbar->trigger();
    QVERIFY(!textpad->picToolbar()->isHidden());
    QVERIFY(toolbar->isChecked());
    QCOMPARE(textpad->txtNote()->geometry(), box);
}

void TextpadTest::fontsMenuListsEveryScreenFont()
{
    Textpad *textpad = withText(QStringLiteral("some text"));
    const QStringList families = QFontDatabase::families();
    if (families.isEmpty())
        QSKIP("this system lists no screen fonts");
    const QList<QAction *> items = textpad->menus().menu(QStringLiteral("mnuFonts"))->actions();
    QCOMPARE(items.size(), families.size());
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(items[i]->objectName(), QStringLiteral("mnuFontName"));
        QCOMPARE(items[i]->data().toString(), families[i]);
        QCOMPARE(items[i]->text(), QString(families[i]).replace(QLatin1Char('&'), QStringLiteral("&&")));
        QVERIFY(!items[i]->isChecked());
    }
    const QString designFamily = textpad->txtNote()->font().family();
    const auto other = std::find_if(items.cbegin(), items.cend(), [&designFamily](const QAction *item) {
        return item->data().toString() != designFamily;
    });
    if (other == items.cend())
        QSKIP("the only screen font is the design font");
    const QString chosen = (*other)->data().toString();
    const int pointSize = textpad->txtNote()->font().pointSize();
    (*other)->trigger();
    QCOMPARE(textpad->txtNote()->font().family(), chosen);
    QCOMPARE(textpad->txtNote()->font().pointSize(), pointSize);
    QVERIFY(!f->changed());

    // A new window starts from the design font again.
    textpad->mnuFileExit_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(f->window()->txtNote()->font().family(), designFamily);
}

QTEST_MAIN(TextpadTest)
#include "tst_textpad.moc"
