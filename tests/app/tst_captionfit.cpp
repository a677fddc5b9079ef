// Every designed window shows the whole text of each of its labels, buttons, check boxes and
// option buttons at the size its design gives the control: nothing is cut at either side or
// at the bottom.

#include "FormFixture.h"

#include "app/BackgroundColors.h"
#include "app/InternetMenu.h"
#include "app/LayoutTable.h"
#include "app/MainMenus.h"
#include "editor/TextEditor.h"
#include "editor/Textpad.h"
#include "editor/frmFind.h"
#include "fileops/CopyBatch.h"
#include "fileops/CopyCommands.h"
#include "fileops/CopyFileDialog.h"
#include "fileops/FoldMaker.h"
#include "fileops/Namer.h"
#include "fileops/Namer2.h"
#include "fileops/Standby.h"
#include "picview/RealView.h"
#include "picview/Saveas.h"
#include "picview/ViewGraphic.h"
#include "platform/ui/DesignFont.h"
#include "search/DeepSearch.h"
#include "search/Dig.h"
#include "support/TestCase.h"

#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <functional>
#include <optional>

namespace {

// What a control shows as its caption and the room it has for it.
struct Caption
{
    QString text;
    QRect room;
};

// A button's caption as drawn: "&" marks the access key and "&&" is one "&".
QString withoutAccessMarks(const QString &text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown += text.at(i);
    }
    return shown;
}

Caption buttonCaption(QAbstractButton *button, QStyle::SubElement contents)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    return {withoutAccessMarks(button->text()), button->style()->subElementRect(contents, &option, button)};
}

std::optional<Caption> captionOf(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control)) {
        const int margin = label->margin();
        QRect room = label->contentsRect().adjusted(margin, margin, -margin, -margin);
        room.setLeft(room.left() + qMax(0, label->indent()));
        return Caption{label->text(), room};
    }
    if (auto *box = qobject_cast<QCheckBox *>(control))
        return buttonCaption(box, QStyle::SE_CheckBoxContents);
    if (auto *option = qobject_cast<QRadioButton *>(control))
        return buttonCaption(option, QStyle::SE_RadioButtonContents);
    if (auto *button = qobject_cast<QPushButton *>(control))
        return buttonCaption(button, QStyle::SE_PushButtonContents);
    return std::nullopt;
}

// The caption's lines as they are seen: blanks at a line's end show nothing.
QStringList shownLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
    }
    return lines;
}

// Walks the window's shown captions; each that does not fit its control is added to cut.
// Gives the number of captions looked at.
int checkCaptions(QWidget *window, const QString &state, QStringList &cut)
{
    window->ensurePolished();
    int checked = 0;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (!control->isVisibleTo(window))
            continue;
        const std::optional<Caption> caption = captionOf(control);
        if (!caption)
            continue;
        const QStringList lines = shownLines(caption->text);
        if (lines.join(QString()).isEmpty())
            continue;
        ++checked;
        const QFontMetrics metrics = control->fontMetrics();
        int widest = 0;
        for (const QString &line : lines)
            widest = qMax(widest, metrics.horizontalAdvance(line));
        const int height = metrics.height() + int(lines.size() - 1) * metrics.lineSpacing();
        if (widest > caption->room.width() || height > caption->room.height()) {
            cut << QStringLiteral("%1: %2 \"%3\" needs %4 x %5 pixels in %6 x %7 (%8 %9 px)")
                       .arg(state, control->objectName(), caption->text.trimmed())
                       .arg(widest)
                       .arg(height)
                       .arg(caption->room.width())
                       .arg(caption->room.height())
                       .arg(QFontInfo(control->font()).family())
                       .arg(QFontInfo(control->font()).pixelSize());
        }
    }
    return checked;
}

// Looks at one state of a window; the text names the state in a failure.
using Look = std::function<void(QWidget *window, const QString &state)>;

struct DesignedWindowCase
{
    const char *row;
    std::function<void(FormFixture &f, const Look &look)> open;
};

void trigger(Form1 &form, const QString &item)
{
    QAction *action = form.menus().action(item);
    QVERIFY2(action, qPrintable(item));
    action->trigger();
}

// The window of a prompt/launcher pair whose prompt is on the screen.
LinkPrompt *shownPrompt(PromptPair &pair)
{
    LinkPrompt *prompt = pair.loadedPrompt();
    return prompt && prompt->isVisible() ? prompt : nullptr;
}

const QList<DesignedWindowCase> &designedWindows()
{
    static const QList<DesignedWindowCase> cases{
        {"main window, every layout", [](FormFixture &f, const Look &look) {
             look(f.form->client(), QStringLiteral("design layout"));
             for (const PaneLayout &layout : paneLayouts()) {
                 trigger(*f.form, layout.menuItem);
                 look(f.form->client(), layout.menuItem);
             }
         }},
        {"search window", [](FormFixture &f, const Look &look) {
             trigger(*f.form, QStringLiteral("mnuSearchFor"));
             look(f.form->search().window().get(), QStringLiteral("Dig"));
         }},
        {"keyword prompt, every engine", [](FormFixture &f, const Look &look) {
             KeywordSearch &search = f.form->internetMenu().keywordSearch();
             for (const QString &item : KeywordSearch::engineItems()) {
                 search.engineItem_Click(item);
                 look(search.ISeek(), item);
             }
         }},
        {"keyword launcher left open", [](FormFixture &f, const Look &look) {
             KeywordSearch &search = f.form->internetMenu().keywordSearch();
             f.services.browserAutomation.busy = true;
             search.engineItem_Click(QStringLiteral("mnuGoogle"));
             search.ISeek()->text1()->setText(QStringLiteral("panoptra"));
             search.ISeek()->button(QStringLiteral("Command1"))->click();
             QVERIFY(search.Inet());
             look(search.Inet(), QStringLiteral("Inet"));
         }},
        {"news and weather prompts, every site", [](FormFixture &f, const Look &look) {
             NewsAndWeather &sites = f.form->internetMenu().newsAndWeather();
             for (const QString &item : NewsAndWeather::items()) {
                 trigger(*f.form, item);
                 LinkPrompt *prompt = shownPrompt(sites.news()) ? shownPrompt(sites.news()) : shownPrompt(sites.weather());
                 QVERIFY2(prompt, qPrintable(item));
                 look(prompt, item);
             }
         }},
        {"auction prompt", [](FormFixture &f, const Look &look) {
             trigger(*f.form, QStringLiteral("mnuEbay"));
             look(f.form->internetMenu().auctions().pair().loadedPrompt(), QStringLiteral("ASeek"));
         }},
        {"favourite prompt", [](FormFixture &f, const Look &look) {
             UserLinkSlots::showSlot(f.form->menus().action(QStringLiteral("mnuFav1")), QStringLiteral("News"));
             trigger(*f.form, QStringLiteral("mnuFav1"));
             look(f.form->internetMenu().favourites().pair().loadedPrompt(), QStringLiteral("FavSeek"));
         }},
        {"Internet Start and Find Website", [](FormFixture &f, const Look &look) {
             trigger(*f.form, QStringLiteral("mnuIStart"));
             look(f.form->internetMenu().internetStart().IStart(), QStringLiteral("IStart"));
             trigger(*f.form, QStringLiteral("mnuSiteSearch"));
             look(f.form->internetMenu().findWebSite().pair().loadedPrompt(), QStringLiteral("SiteSeek"));
         }},
        {"add and remove link dialogs, every family", [](FormFixture &f, const Look &look) {
             UserLinkEditor &editor = f.form->internetMenu().linkEditor();
             for (LinkKind kind : LinkFamilies::kinds()) {
                 editor.addCommand(kind);
                 look(editor.addDialog(kind), editor.addDialog(kind)->objectName());
                 editor.removeCommand(kind);
                 look(editor.DeLink(), editor.DeLink()->windowTitle());
             }
         }},
        {"rename and new folder dialogs", [](FormFixture &f, const Look &look) {
             Services &services = f.services.services();
             Namer namer(services, f.form->board());
             look(&namer, QStringLiteral("Namer"));
             Namer2 namer2(services, f.form->board());
             look(&namer2, QStringLiteral("Namer2"));
             FoldMaker foldMaker(services, f.form->board());
             look(&foldMaker, QStringLiteral("FoldMaker"));
         }},
        {"Copy File dialogs, every pane", [](FormFixture &f, const Look &look) {
             CopyBatch batch;
             CopyCommands copy(f.form->board(), f.services.services(), batch);
             for (int pane = 1; pane <= PaneCount; ++pane) {
                 CopyFileDialog dialog(pane, f.services.services(), f.form->board(), copy, batch);
                 look(&dialog, dialog.objectName());
             }
         }},
        {"busy window", [](FormFixture &f, const Look &look) {
             Standby standby(f.services.services().programEnd, 1);
             standby.show();
             standby.Command1(); // types its text out
             QCOMPARE(standby.labelText(), QStringLiteral("Deleting ..."));
             look(&standby, QStringLiteral("Standby"));
         }},
        {"colour question, every setting", [](FormFixture &f, const Look &look) {
             Color1 *color1 = f.form->colors().color1().get();
             for (ColorSetting setting : {ColorSetting::Desktop, ColorSetting::Folders, ColorSetting::Files}) {
                 color1->ask(setting);
                 look(color1, color1->windowTitle());
             }
         }},
        {"picture viewer and its save dialog", [](FormFixture &f, const Look &look) {
             // Built directly: with no picture selected the viewer's load closes it again.
             RealView viewer(f.services.services());
             look(&viewer, QStringLiteral("RealView"));
             // Label3 names the fixed folder; the test's own would be a long temporary one.
             const QByteArray temp = qgetenv("TMPDIR");
             qputenv("TMPDIR", "/tmp");
             Saveas saveas(f.services.services(), f.form->viewGraphic().viewer());
             qputenv("TMPDIR", temp);
             look(&saveas, QStringLiteral("Saveas"));
         }},
        {"editor's find dialog", [](FormFixture &f, const Look &look) {
             Textpad *textpad = f.form->editor().window().get();
             look(textpad->findDialog().get(), QStringLiteral("frmFind"));
         }},
    };
    return cases;
}

} // namespace

class TestCaptionFit : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void designFontIsElevenPixels();
    void wideFacesAreCondensed_data();
    void wideFacesAreCondensed();
    void captionsFitTheirControls_data();
    void captionsFitTheirControls();
};

void TestCaptionFit::designFontIsElevenPixels()
{
    // 8.25 points at the twips' 96 dots per inch, whatever the screen's own.
    QCOMPARE(DesignFont::pixelSize(8.25), 11);
    QCOMPARE(DesignFont::pixelSize(9.75), 13);
    QCOMPARE(DesignFont::pixelSize(12), 16);
    QCOMPARE(QFontInfo(DesignFont::font()).pixelSize(), 11);
    const QFont bold = DesignFont::font(9.75, true);
    QVERIFY(bold.bold());
    QCOMPARE(QFontInfo(bold).pixelSize(), 13);
}

void TestCaptionFit::wideFacesAreCondensed_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("wider"); // than Arial
    QTest::newRow("DejaVu Sans") << "DejaVu Sans" << false << true;
    QTest::newRow("DejaVu Sans, bold") << "DejaVu Sans" << true << true;
    QTest::newRow("DejaVu Sans Mono") << "DejaVu Sans Mono" << false << true;
    QTest::newRow("Liberation Sans, Arial's twin") << "Liberation Sans" << false << false;
    QTest::newRow("Liberation Sans, bold") << "Liberation Sans" << true << false;
}

void TestCaptionFit::wideFacesAreCondensed()
{
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, wider);
    QFont face(family);
    face.setPixelSize(11);
    face.setBold(bold);
    if (QFontInfo(face).family() != family)
        QSKIP("the face is not installed");
    // Arial's widths, as its metric twin sets them.
    QFont arial(QStringLiteral("Liberation Sans"));
    arial.setPixelSize(11);
    arial.setBold(bold);
    if (QFontInfo(arial).family() != arial.family())
        QSKIP("Liberation Sans is not installed");

    const QString caption = QStringLiteral("Check to include SubDirectories");
    const int arialWidth = QFontMetrics(arial).horizontalAdvance(caption);
    const int width = QFontMetrics(face).horizontalAdvance(caption);
    const QFont fitted = DesignFont::fitted(face);
    const int fittedWidth = QFontMetrics(fitted).horizontalAdvance(caption);
    QCOMPARE(QFontInfo(fitted).family(), family);
    QCOMPARE(QFontInfo(fitted).pixelSize(), 11);
    if (!wider) {
        QCOMPARE(fitted.stretch(), int(QFont::Unstretched));
        QCOMPARE(fittedWidth, width);
        return;
    }
    QVERIFY2(width > arialWidth, "the face was expected to be wider than Arial");
    QVERIFY(fitted.stretch() < int(QFont::Unstretched));
    // Condensed to within a few pixels of Arial's width.
    QVERIFY2(qAbs(fittedWidth - arialWidth) <= arialWidth / 12,
             qPrintable(QStringLiteral("%1 against %2, from %3").arg(fittedWidth).arg(arialWidth).arg(width)));
}

void TestCaptionFit::captionsFitTheirControls_data()
{
    QTest::addColumn<int>("index");
    for (qsizetype i = 0; i < designedWindows().size(); ++i)
        QTest::newRow(designedWindows().at(i).row) << int(i);
}

void TestCaptionFit::captionsFitTheirControls()
{
    QFETCH(int, index);
    FormFixture f;
    f.start();
    QStringList cut;
    int checked = 0;
    designedWindows().at(index).open(f, [&cut, &checked](QWidget *window, const QString &state) {
        QVERIFY2(window, qPrintable(state));
        checked += checkCaptions(window, state, cut);
    });
    if (QTest::currentTestFailed())
        return;
    QVERIFY(checked > 0);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestCaptionFit)
#include "tst_captionfit.moc"
