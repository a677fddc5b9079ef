// The editor's text box's context menu, its keys going before the window's shortcuts, and the
// keys that type what the keyboard layout makes of them, AltGr and all.

#include "TextBoxFixture.h"
#include "support/TestCase.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

class TextBoxMenuTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<TextBoxFixture> f;

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = TextBoxFixture::shown();
        QVERIFY2(f, "the box's window did not show");
    }
    void cleanup() { f.reset(); }

    void contextMenu_data();
    void contextMenu();
    void theBoxsKeysGoBeforeTheWindowsShortcuts_data();
    void theBoxsKeysGoBeforeTheWindowsShortcuts();
    void keysOfTheLayoutType_data();
    void keysOfTheLayoutType();
};

void TextBoxMenuTest::contextMenu_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("selection");
    // The items that can be chosen, and the one chosen.
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("clipboard");
    // Over "one two!" after typing the "!", "two" selected where there is a selection.
    const QStringList all{"Undo", "Cut", "Copy", "Paste", "Delete", "Select All"};
    QTest::newRow("Cut") << false << true << all << "Cut" << "one !" << "two";
    QTest::newRow("Copy") << false << true << all << "Copy" << "one two!" << "two";
    QTest::newRow("Paste") << false << true << all << "Paste" << "one pasted!" << "pasted";
    QTest::newRow("Delete") << false << true << all << "Delete" << "one !" << "pasted";
    QTest::newRow("Undo") << false << true << all << "Undo" << "one two" << "pasted";
    QTest::newRow("Select All") << false << true << all << "Select All" << "one two!" << "pasted";
    QTest::newRow("nothing selected") << false << false << QStringList{"Undo", "Paste", "Select All"} << "Paste"
                                      << "one two!pasted" << "pasted";
    QTest::newRow("read-only") << true << true << QStringList{"Copy", "Select All"} << "Copy" << "one two!" << "two";
    QTest::newRow("read-only, nothing selected")
        << true << false << QStringList{"Select All"} << "Select All" << "one two!" << "pasted";
}

void TextBoxMenuTest::contextMenu()
{
    QFETCH(bool, readOnly);
    QFETCH(bool, selection);
    QFETCH(QStringList, enabled);
    QFETCH(QString, chosen);
    QFETCH(QString, after);
    QFETCH(QString, clipboard);
    f->setText(QStringLiteral("one two"), 7, 7);
    f->type(QStringLiteral("!"));
    f->box->select(selection ? 4 : 8, selection ? 7 : 8);
    f->box->setReadOnly(readOnly);
    f->clipboard.setText(QStringLiteral("pasted"));
    QStringList shown;
    QStringList canChoose;
    // The menu runs its own loop: it is read and answered from within.
    QTimer::singleShot(0, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction *choice = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            const QString caption = action->text().remove(QLatin1Char('&'));
            shown << caption;
            if (action->isEnabled())
                canChoose << caption;
            if (caption == chosen)
                choice = action;
        }
        QVERIFY(choice);
        menu->setActiveAction(choice);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint at = f->pointOf(2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, f->box->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(f->box->viewport(), &event);
    QCOMPARE(shown, (QStringList{"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"}));
    QCOMPARE(canChoose, enabled);
    QCOMPARE(f->box->toPlainText(), after);
    QCOMPARE(f->clipboard.text(), clipboard);
    if (chosen == QLatin1String("Select All")) {
        QCOMPARE(f->box->selectionStart(), 0);
        QCOMPARE(f->box->selectionEnd(), f->box->characterCount());
    }
}

void TextBoxMenuTest::theBoxsKeysGoBeforeTheWindowsShortcuts_data()
{
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    // What the box holds after the key, from "one two" with "two" selected; "" when the
    // window's shortcut takes the key instead.
    QTest::addColumn<QString>("after");
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Ctrl+X") << "Ctrl+X" << int(Qt::Key_X) << ctrl << "one ";
    QTest::newRow("Ctrl+V") << "Ctrl+V" << int(Qt::Key_V) << ctrl << "one pasted";
    QTest::newRow("Ctrl+A") << "Ctrl+A" << int(Qt::Key_A) << ctrl << "one two";
    QTest::newRow("Delete") << "Del" << int(Qt::Key_Delete) << int(Qt::NoModifier) << "one ";
    QTest::newRow("Backspace") << "Backspace" << int(Qt::Key_Backspace) << int(Qt::NoModifier) << "one ";
    QTest::newRow("a letter") << "Q" << int(Qt::Key_Q) << int(Qt::NoModifier) << "one q";
    QTest::newRow("Ctrl+S is the window's") << "Ctrl+S" << int(Qt::Key_S) << ctrl << "";
    QTest::newRow("F3 is the window's") << "F3" << int(Qt::Key_F3) << int(Qt::NoModifier) << "";
}

void TextBoxMenuTest::theBoxsKeysGoBeforeTheWindowsShortcuts()
{
    QFETCH(QString, shortcut);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    QAction action(&f->window);
    action.setShortcut(QKeySequence(shortcut));
    f->window.addAction(&action);
    int runs = 0;
    connect(&action, &QAction::triggered, this, [&runs] { ++runs; });
    f->clipboard.setText(QStringLiteral("pasted"));
    f->setText(QStringLiteral("one two"), 4, 7);
    f->key(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(runs, after.isEmpty() ? 1 : 0);
    QCOMPARE(f->box->toPlainText(), after.isEmpty() ? QStringLiteral("one two") : after);
}

void TextBoxMenuTest::keysOfTheLayoutType_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    // A shortcut of the window's, or "".
    QTest::addColumn<QString>("shortcut");
    // What the key types; "" when it types nothing.
    QTest::addColumn<QString>("typed");
    // A German layout's AltGr comes as the group switch.
    const int altGr = Qt::GroupSwitchModifier;
    const int ctrl = Qt::ControlModifier;
    const int alt = Qt::AltModifier;
    QTest::newRow("AltGr+Q") << int(Qt::Key_At) << altGr << "@" << "" << "@";
    QTest::newRow("AltGr+E") << 0x20AC << altGr << "\u20AC" << "" << "\u20AC";
    QTest::newRow("AltGr+7") << int(Qt::Key_BraceLeft) << altGr << "{" << "" << "{";
    QTest::newRow("AltGr+0") << int(Qt::Key_BraceRight) << altGr << "}" << "" << "}";
    QTest::newRow("AltGr+8") << int(Qt::Key_BracketLeft) << altGr << "[" << "" << "[";
    QTest::newRow("AltGr+9") << int(Qt::Key_BracketRight) << altGr << "]" << "" << "]";
    QTest::newRow("AltGr+\u00DF") << int(Qt::Key_Backslash) << altGr << "\\" << "" << "\\";
    QTest::newRow("AltGr++") << int(Qt::Key_AsciiTilde) << altGr << "~" << "" << "~";
    QTest::newRow("AltGr+Shift") << 0x1E9E << altGr + int(Qt::ShiftModifier) << "\u1E9E" << "" << "\u1E9E";
    QTest::newRow("AltGr as Ctrl+Alt") << int(Qt::Key_At) << ctrl + alt << "@" << "" << "@";
    QTest::newRow("AltGr+Q before a window's shortcut") << int(Qt::Key_At) << altGr << "@" << "@" << "@";
    QTest::newRow("Ctrl+Q") << int(Qt::Key_Q) << ctrl << "\x11" << "" << "";
    QTest::newRow("Ctrl+Shift with a letter") << int(Qt::Key_A) << ctrl + int(Qt::ShiftModifier) << "A" << "" << "";
    QTest::newRow("Alt with a letter") << int(Qt::Key_X) << alt << "x" << "" << "";
    QTest::newRow("Meta with a letter") << int(Qt::Key_X) << int(Qt::MetaModifier) << "x" << "" << "";
    QTest::newRow("Alt+F is the window's") << int(Qt::Key_F) << alt << "f" << "Alt+F" << "";
}

void TextBoxMenuTest::keysOfTheLayoutType()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    QFETCH(QString, typed);
    QAction action(&f->window);
    int runs = 0;
    if (!shortcut.isEmpty()) {
        action.setShortcut(QKeySequence(shortcut));
        f->window.addAction(&action);
        connect(&action, &QAction::triggered, this, [&runs] { ++runs; });
    }
    f->setText(QStringLiteral("ab"), 1, 1);
    // As the window system gives it: the key, its modifiers and the text the layout made of them.
    QTest::sendKeyEvent(QTest::Press, f->box, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QTest::sendKeyEvent(QTest::Release, f->box, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f->box->toPlainText(), "a" + typed + "b");
    QCOMPARE(f->box->position(), 1 + typed.size());
    QCOMPARE(runs, !shortcut.isEmpty() && typed.isEmpty() ? 1 : 0);
}

QTEST_MAIN(TextBoxMenuTest)
#include "tst_textboxmenu.moc"
