#include "FormFixture.h"

#include "app/Help1.h"
#include "app/MainMenus.h"
#include "platform/Twips.h"
#include "platform/ui/ToolkitColor.h"
#include "support/TestCase.h"

#include <QAction>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

class TestHelp : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_app = std::make_unique<FormFixture>();
        m_app->start();
    }
    void cleanup() { m_app.reset(); }

    void helpOpensOnceOverTheWholeScreen()
    {
        Form1 &form = *m_app->form;
        QVERIFY(!form.help().isLoaded());
        form.menus().action(QStringLiteral("mnuHelp1"))->trigger();
        QPointer<Help1> help = form.help().ifLoaded();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(!help->isModal());
        QCOMPARE(help->windowTitle(), QStringLiteral(" Panoptra Help"));
        QVERIFY(!(help->windowFlags() & Qt::WindowCloseButtonHint));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(help->size(), screen.size());
        QCOMPARE(help->frameGeometry().topLeft(), screen.topLeft());
        QCOMPARE(ToolkitColor::backColor(help->centralWidget()), ToolkitColor::rgb(0, 0, 192));

        QPlainTextEdit *text = help->Text1;
        QCOMPARE(text->geometry(), Twips::rect(1080, 360, 10095, 8055));
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        // 12 points at the design's 96 dots per inch.
        QCOMPARE(QFontInfo(text->font()).pixelSize(), 16);
        const QString helpText = text->toPlainText();
        QVERIFY(helpText.contains(QStringLiteral("PANOPTRA HELP")));
        QVERIFY(helpText.contains(QStringLiteral("Some tips for getting started:")));
        QVERIFY(helpText.contains(QStringLiteral("Notes:")));
        for (const char *foreign : {"Windows", "Internet Explorer", "recycle", "Program Files"})
            QVERIFY2(!helpText.contains(QLatin1String(foreign), Qt::CaseInsensitive), foreign);
        QTest::keyClicks(text, QStringLiteral("typed"));
        QCOMPARE(text->toPlainText(), helpText);

        // A second Help brings the same window up, scrolled where it was.
        text->verticalScrollBar()->setValue(5);
        form.menus().action(QStringLiteral("mnuHelp1"))->trigger();
        QCOMPARE(form.help().ifLoaded(), help.data());
        QCOMPARE(text->verticalScrollBar()->value(), 5);
        QCOMPARE(form.findChildren<Help1 *>().size(), 1);
    }

    void exitClosesItAndTheMainWindowStays()
    {
        Form1 &form = *m_app->form;
        form.menus().action(QStringLiteral("mnuHelp1"))->trigger();
        QPointer<Help1> help = form.help().ifLoaded();
        QCOMPARE(help->menuBar()->actions().size(), 1);
        QCOMPARE(help->menuBar()->actions().first()->text(), QStringLiteral("Exit"));
        QAction *exit = help->findChild<QAction *>(QStringLiteral("mnuExit1"));
        QVERIFY(exit);
        QCOMPARE(exit->text(), QStringLiteral("Exit"));
        help->Text1->verticalScrollBar()->setValue(5);

        exit->trigger();
        QVERIFY(!form.help().isLoaded());
        QTRY_VERIFY(help.isNull());
        QVERIFY(form.isVisible());
        QCOMPARE(m_app->services.programEnd.endCalls, 0);

        // The next Help loads it afresh, with the text at its start.
        form.menus().action(QStringLiteral("mnuHelp1"))->trigger();
        QVERIFY(form.help().ifLoaded());
        QCOMPARE(form.help().ifLoaded()->Text1->verticalScrollBar()->value(), 0);
    }

private:
    std::unique_ptr<FormFixture> m_app;
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
