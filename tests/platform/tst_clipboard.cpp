// The desktop clipboard service where the window system has no primary selection, as the
// offscreen platform the tests run on: its text is "" and setting it does nothing, silently.

#include "platform/ui/Clipboard.h"
#include "support/TestCase.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

class ClipboardTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); }

    void thePrimarySelectionIsThePlatformsOwn();
    void theClipboardIsApartFromIt();
};

void ClipboardTest::thePrimarySelectionIsThePlatformsOwn()
{
    QtClipboard clipboard;
    QCOMPARE(clipboard.supportsSelection(), QGuiApplication::clipboard()->supportsSelection());
    clipboard.setSelectionText(QStringLiteral("selected"));
    if (!clipboard.supportsSelection()) {
        // No warning of data set on a mode the platform lacks (the test fails on one).
        QCOMPARE(clipboard.selectionText(), QString());
        return;
    }
    QCOMPARE(clipboard.selectionText(), QStringLiteral("selected"));
}

void ClipboardTest::theClipboardIsApartFromIt()
{
    QtClipboard clipboard;
    clipboard.setText(QStringLiteral("copied"));
    clipboard.setSelectionText(QStringLiteral("selected"));
    QCOMPARE(clipboard.text(), QStringLiteral("copied"));
}

QTEST_MAIN(ClipboardTest)
#include "tst_clipboard.moc"
