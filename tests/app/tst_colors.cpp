#include "FormFixture.h"

#include "app/BackgroundColors.h"
#include "app/MainMenus.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/ui/ToolkitColor.h"
#include "settings/ColorStore.h"
#include "support/TestCase.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace {

const QString mainFormKey = QStringLiteral("Software\\Panoptra\\MainForm");

QString menuItem(ColorSetting setting)
{
    switch (setting) {
    case ColorSetting::Desktop: return QStringLiteral("mnuBackGround");
    case ColorSetting::Folders: return QStringLiteral("mnu_Folders");
    case ColorSetting::Files: return QStringLiteral("mnu_Files");
    }
    return QString();
}

} // namespace

class TestColors : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); m_app = std::make_unique<FormFixture>(); }
    void cleanup() { m_app.reset(); }

    void firstRunFilesCancelledStoresTheShownColour()
    {
        Form1 &form = m_app->start();
        const QList<qint32> before = colors(form, ColorSetting::Files);
        QCOMPARE(before, (QList<qint32>{ToolkitColor::WindowBackground, ToolkitColor::White, ToolkitColor::White,
                                         ToolkitColor::White, ToolkitColor::White}));

        m_app->services.dialogs.answerColor(std::nullopt);
        trigger(form, ColorSetting::Files);

        QCOMPARE(m_app->services.dialogs.colorRequests(), QList<QColor>{QColor(0, 0, 0)});
        QCOMPARE(colors(form, ColorSetting::Files), before);
        QVERIFY(!form.colors().color1().isLoaded());
        QCOMPARE(stored(ColorSetting::Files), QStringLiteral("-2147483643"));

        // The next start puts pane 1's colour on all five file lists.
        Form1 &next = m_app->restart();
        QCOMPARE(colors(next, ColorSetting::Files), QList<qint32>(5, ToolkitColor::WindowBackground));
        QCOMPARE(next.board().pane(3).fileList()->palette().color(QPalette::Base),
                 ToolkitColor::toQColor(ToolkitColor::WindowBackground));
    }

    void redFoldersThenCancelPutsPaneOnesColourBack()
    {
        Form1 &form = m_app->start();
        // Pane 3 differs, so that Cancel shows it takes pane 1's colour for all five.
        ToolkitColor::setBackColor(form.board().pane(3).folderList(), ToolkitColor::White);

        m_app->services.dialogs.answerColor(QColor(255, 0, 0));
        trigger(form, ColorSetting::Folders);
        QCOMPARE(colors(form, ColorSetting::Folders), QList<qint32>(5, ToolkitColor::Red));
        QCOMPARE(form.board().pane(2).folderList()->palette().color(QPalette::Base), QColor(255, 0, 0));

        Color1 *color1 = form.colors().color1().ifLoaded();
        QVERIFY(color1);
        QVERIFY(color1->isVisible());
        QVERIFY(!color1->isModal());
        QCOMPARE(color1->windowTitle(), QStringLiteral("New Folders Background Color"));
        QCOMPARE(color1->Label1->text(), QStringLiteral("Keep the new folders background color?"));
        QCOMPARE(color1->Command1->text(), QStringLiteral("Okay"));
        QCOMPARE(color1->Command2->text(), QStringLiteral("Cancel"));

        QTest::mouseClick(color1->Command2, Qt::LeftButton);
        QCOMPARE(colors(form, ColorSetting::Folders), QList<qint32>(5, ToolkitColor::Teal));
        QVERIFY(!form.colors().color1().isLoaded());
        QCOMPARE(stored(ColorSetting::Folders), QString::number(ToolkitColor::Teal));
    }

    void confirmedColourSurvivesARestart_data()
    {
        QTest::addColumn<ColorSetting>("setting");
        QTest::addColumn<QString>("caption");
        QTest::newRow("desktop") << ColorSetting::Desktop << QStringLiteral("New Desktop Background Color");
        QTest::newRow("folders") << ColorSetting::Folders << QStringLiteral("New Folders Background Color");
        QTest::newRow("files") << ColorSetting::Files << QStringLiteral("New Files Background Color");
    }
    void confirmedColourSurvivesARestart()
    {
        QFETCH(ColorSetting, setting);
        QFETCH(QString, caption);
        Form1 &form = m_app->start();
        const qint32 green = ToolkitColor::rgb(0, 160, 0);
        m_app->services.dialogs.answerColor(QColor(0, 160, 0));
        trigger(form, setting);
        Color1 *color1 = form.colors().color1().ifLoaded();
        QVERIFY(color1);
        QCOMPARE(color1->windowTitle(), caption);
        QTest::mouseClick(color1->Command1, Qt::LeftButton);
        QVERIFY(!form.colors().color1().isLoaded());
        QCOMPARE(stored(setting), QString::number(green));

        Form1 &next = m_app->restart();
        const int targets = setting == ColorSetting::Desktop ? 1 : 5;
        QCOMPARE(colors(next, setting), QList<qint32>(targets, green));
    }

    void colourThatCannotBeSavedIsSaidOnceAndKept()
    {
        Form1 &form = m_app->start();
        // Another writer holds the settings file's lock and never lets go.
        QVERIFY(QDir().mkpath(m_app->store.iniPath() + QStringLiteral(".lock")));
        ScriptedDialogs &dialogs = m_app->services.dialogs;

        // The pick's own store of the shown colour says nothing; Okay says it once.
        dialogs.answerColor(QColor(255, 0, 0));
        dialogs.answerMessage(MessageAnswer::Ok);
        trigger(form, ColorSetting::Folders);
        QTest::mouseClick(form.colors().color1().ifLoaded()->Command1, Qt::LeftButton);
        QVERIFY(dialogs.scriptIsEmpty());
        QCOMPARE(dialogs.messageTexts(), QStringList{m_app->store.saveFailedMessage()});
        QCOMPARE(dialogs.messages().first().icon, MessageIcon::Exclamation);
        QCOMPARE(colors(form, ColorSetting::Folders), QList<qint32>(5, ToolkitColor::Red));
        QCOMPARE(stored(ColorSetting::Folders), QString::number(ToolkitColor::Red));
        const RegistryStore nextRun(m_app->store.iniPath());
        QCOMPARE(nextRun.GetRegString(HKEY_CURRENT_USER, mainFormKey, ColorStore::valueName(ColorSetting::Folders)),
                 QString());

        // Cancel still finds the colour the pick kept, and says nothing.
        dialogs.answerColor(QColor(0, 0, 255));
        trigger(form, ColorSetting::Folders);
        QTest::mouseClick(form.colors().color1().ifLoaded()->Command2, Qt::LeftButton);
        QCOMPARE(colors(form, ColorSetting::Folders), QList<qint32>(5, ToolkitColor::Red));
        QCOMPARE(dialogs.messages().size(), 1);
    }

    void desktopColourLeavesTheBoxesAndButtons()
    {
        Form1 &form = m_app->start();
        const QPalette box = form.board().pane(2).patternBox()->palette();
        const QPalette button = form.board().pane(2).button()->palette();
        m_app->services.dialogs.answerColor(QColor(255, 0, 0));
        trigger(form, ColorSetting::Desktop);
        QCOMPARE(form.client()->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(form.board().pane(2).patternBox()->palette().color(QPalette::Base), box.color(QPalette::Base));
        QCOMPARE(form.board().pane(2).button()->palette().color(QPalette::Button), button.color(QPalette::Button));
        QCOMPARE(form.board().pane(2).fileList()->palette().color(QPalette::Base), QColor(255, 255, 255));
    }

    void onlyTheAnsweredPickIsKept()
    {
        Form1 &form = m_app->start();
        m_app->services.dialogs.answerColor(QColor(0, 160, 0));
        trigger(form, ColorSetting::Desktop);
        // A second pick before answering takes over Color1; the dialog opens on the last colour.
        m_app->services.dialogs.answerColor(QColor(255, 255, 0));
        trigger(form, ColorSetting::Files);
        QCOMPARE(m_app->services.dialogs.colorRequests(), (QList<QColor>{QColor(0, 0, 0), QColor(0, 160, 0)}));
        Color1 *color1 = form.colors().color1().ifLoaded();
        QCOMPARE(color1->windowTitle(), QStringLiteral("New Files Background Color"));
        QTest::mouseClick(color1->Command1, Qt::LeftButton);
        QCOMPARE(colors(form, ColorSetting::Desktop), QList<qint32>{ToolkitColor::rgb(0, 160, 0)});

        Form1 &next = m_app->restart();
        QCOMPARE(colors(next, ColorSetting::Desktop), QList<qint32>{ToolkitColor::Blue});
        QCOMPARE(colors(next, ColorSetting::Files), QList<qint32>(5, ToolkitColor::rgb(255, 255, 0)));
    }

    void storedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("shown");
        const qint32 design = ToolkitColor::Teal;
        QTest::newRow("a colour") << QStringLiteral("16711680") << ToolkitColor::rgb(0, 0, 255);
        QTest::newRow("a system colour") << QStringLiteral("-2147483643") << ToolkitColor::WindowBackground;
        QTest::newRow("not a number") << QStringLiteral("abc") << design;
        QTest::newRow("empty") << QString() << design;
        QTest::newRow("blanks around a number are read past") << QStringLiteral(" 255 ") << ToolkitColor::Red;
        QTest::newRow("above the RGB range") << QStringLiteral("16777216") << design;
        QTest::newRow("system index out of range") << QString::number(ToolkitColor::systemColor(48)) << design;
        QTest::newRow("beyond 32 bits") << QStringLiteral("99999999999") << design;
        QTest::newRow("hexadecimal") << QStringLiteral("&HFF0000") << design;
    }
    void storedText()
    {
        QFETCH(QString, text);
        QFETCH(qint32, shown);
        m_app->store.SaveRegString(HKEY_CURRENT_USER, mainFormKey, ColorStore::valueName(ColorSetting::Folders), text);
        Form1 &form = m_app->start();
        QCOMPARE(colors(form, ColorSetting::Folders), QList<qint32>(5, shown));
        QCOMPARE(form.board().pane(1).folderList()->palette().color(QPalette::Base), ToolkitColor::toQColor(shown));
        QVERIFY(form.isVisible());
        QCOMPARE(m_app->services.programEnd.endCalls, 0);
    }

    // Enlarged or maximised, the window shows the desktop colour over all of its client area,
    // not a margin of another colour around the designed one.
    void desktopColourFillsAnEnlargedWindow_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QString>("stored"); // "" for none: the design's blue
        QTest::addColumn<QColor>("expected");
        QTest::newRow("enlarged, design colour") << false << QString() << QColor(0, 0, 255);
        QTest::newRow("enlarged, stored colour") << false << QStringLiteral("65280") << QColor(0, 255, 0);
        QTest::newRow("maximised, stored colour") << true << QStringLiteral("255") << QColor(255, 0, 0);
    }
    void desktopColourFillsAnEnlargedWindow()
    {
        QFETCH(bool, maximised);
        QFETCH(QString, stored);
        QFETCH(QColor, expected);
        if (!stored.isEmpty())
            m_app->store.SaveRegString(HKEY_CURRENT_USER, mainFormKey, ColorStore::valueName(ColorSetting::Desktop),
                                       stored);
        Form1 &form = m_app->start();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // At its first showing the client area has the designed size.
        QCOMPARE(form.client()->size(), QSize(792, 529));

        if (maximised)
            form.showMaximized();
        else
            form.resize(form.width() + 200, form.height() + 150);
        QTRY_VERIFY(form.width() > 792 && form.client()->height() > 529);

        const QImage shot = form.grab().toImage();
        const int top = form.menuBar()->geometry().bottom() + 1;
        const QList<QPoint> points = {
            {shot.width() - 2, shot.height() - 2}, // the far corner
            {shot.width() - 2, top + 2},           // right of the designed area
            {2, shot.height() - 2},                // below it
        };
        for (const QPoint &point : points)
            QVERIFY2(shot.pixelColor(point) == expected,
                     qPrintable(QStringLiteral("(%1, %2) is %3").arg(point.x()).arg(point.y()).arg(shot.pixelColor(point).name())));
    }

private:
    void trigger(Form1 &form, ColorSetting setting)
    {
        form.menus().action(menuItem(setting))->trigger();
    }
    // The colours of the setting's controls, found by their names.
    static QList<qint32> colors(Form1 &form, ColorSetting setting)
    {
        QStringList names;
        if (setting == ColorSetting::Desktop)
            names << QStringLiteral("Form1Client");
        const QString stem = setting == ColorSetting::Folders ? QStringLiteral("DirBox") : QStringLiteral("FileBox");
        if (setting != ColorSetting::Desktop) {
            names << stem;
            for (int n = 2; n <= 5; ++n)
                names << stem + QString::number(n);
        }
        QList<qint32> values;
        for (const QString &name : names) {
            const QWidget *widget = form.findChild<QWidget *>(name);
            values << (widget ? ToolkitColor::backColor(widget, 0x7fffffff) : -1);
        }
        return values;
    }
    QString stored(ColorSetting setting) const
    {
        return m_app->store.GetRegString(HKEY_CURRENT_USER, mainFormKey, ColorStore::valueName(setting));
    }

    std::unique_ptr<FormFixture> m_app;
};

QTEST_MAIN(TestColors)
#include "tst_colors.moc"
