#include "editor/Textpad.h"

#include "editor/EditorMessages.h"
#include "editor/EditorState.h"
#include "editor/FindEngine.h"
#include "editor/HtmlPreview.h"
#include "textbox/ui/TextBox.h"
#include "textbox/ui/TextBoxLoad.h"
#include "editor/TextpadDesign.h"
#include "editor/ToolbarButton.h"
#include "editor/frmFind.h"
#include "platform/CurrentFolder.h"
#include "platform/FileReader.h"
#include "platform/PathCodec.h"
#include "platform/Twips.h"
#include "platform/ui/MenuShortcutFilter.h"
#include "platform/ui/MenuTree.h"
#include "platform/ui/Services.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHash>
#include <QLineEdit>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <functional>

namespace {

// The wait cursor for as long as a save runs.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

Textpad::Textpad(Services &services, EditorState &state, HtmlPreview &html, QWidget *parent)
    : QMainWindow(parent),
      m_services(services),
      m_state(state),
      m_html(html),
      m_document(services.files, services.dialogs),
      m_dialog{QStringLiteral("TextPad"), QString(), QString(), QString()},
      m_client(new QWidget(this)),
      m_picToolbar(new QWidget(m_client)),
      m_txtNote(new TextBox(services.clipboard, m_client)),
      m_edit(*m_txtNote, services.clipboard, services.clock),
      m_find([this] {
          auto *dialog = new frmFind(m_state.find, [this] { FindNextMatch(); }, this);
          connect(dialog, &frmFind::unloadRequested, this, [this] { m_find.unload(); });
          dialog->Form_Load();
          return dialog;
      })
{
    setObjectName(QStringLiteral("Textpad"));
    showCaption();
    // Until an Open on a named document sets its options, the dialog takes any name.
    m_dialog.fileMustExist = false;

    const QSize client = TextpadDesign::clientTwips();
    m_client->setObjectName(QStringLiteral("TextpadClient"));
    m_client->setFixedSize(Twips::size(client.width(), client.height()));
    setCentralWidget(m_client);
    // A fixed single border: the window keeps its design size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_picToolbar->setObjectName(QStringLiteral("picToolbar"));
    m_picToolbar->setGeometry(Twips::rect(TextpadDesign::toolbarTwips()));
    m_picToolbar->setAutoFillBackground(true);
    buildToolbar();

    m_txtNote->setObjectName(QStringLiteral("txtNote"));
    m_txtNote->setGeometry(Twips::rect(TextpadDesign::noteTwips()));
    // Lines wrap at the box's width: no horizontal bar.
    m_txtNote->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_txtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(m_txtNote, &TextBox::contentsChange, this,
            [this](qint64, qint64 removed, qint64 added) { txtNote_Change(removed, added); });

    m_menus = std::make_unique<MenuTree>(TextpadDesign::menuTable(), menuBar(), this);
    m_menus->action(QStringLiteral("mnuHtmledit0"))->setVisible(false);
    m_menus->action(QStringLiteral("mnuOptionsToolbar"))->setCheckable(true);
    m_menuKeys = std::make_unique<MenuShortcutFilter>(*m_menus);
    m_menuKeys->watch(m_txtNote);
    wireMenus();
    m_txtNote->setFocus();
}

Textpad::~Textpad()
{
    // A load under way ends with the window, and nobody hears of it.
    m_loadDone = nullptr;
    if (m_load) {
        m_load->disconnect(this);
        m_load.reset();
        QApplication::restoreOverrideCursor();
    }
}

void Textpad::buildToolbar()
{
    const QHash<QString, std::function<void()>> commands{
        {QStringLiteral("imgFileNewButton"), [this] { StartNewDocument(); }},
        {QStringLiteral("imgFileOpenButton"), [this] { FileOpenProc(); }},
        {QStringLiteral("imgCutButton"), [this] { m_edit.CutSelectedText(); }},
        {QStringLiteral("imgCopyButton"), [this] { m_edit.CopySelectedText(); }},
        {QStringLiteral("imgPasteButton"), [this] { m_edit.PasteClipboardText(); }},
    };
    for (const ToolbarButtonDesign &design : TextpadDesign::toolbarButtons()) {
        const QRect place = Twips::rect(design.twips);
        auto *button = new ToolbarButton(TextpadDesign::face(design.icon, false, place.size()),
                                         TextpadDesign::face(design.icon, true, place.size()), m_picToolbar);
        button->setObjectName(design.name);
        button->setToolTip(design.toolTip);
        button->setGeometry(place);
        if (const auto command = commands.constFind(design.name); command != commands.cend())
            connect(button, &ToolbarButton::clicked, this, *command);
    }
}

void Textpad::wireMenus()
{
    auto on = [this](const char *name, std::function<void()> command) {
        m_menus->onTriggered(QLatin1String(name), this, std::move(command));
    };
    on("mnuOpen", [this] { FileOpenProc(); });
    on("mnuFileNew", [this] { mnuFileNew_Click(); });
    on("mnuFileSave", [this] { mnuFileSave_Click(); });
    on("mnuFileSaveAs", [this] { mnuFileSaveAs_Click(); });
    on("mnuFileExit", [this] { mnuFileExit_Click(); });
    on("mnuEditCut", [this] { m_edit.CutSelectedText(); });
    on("mnuEditCopy", [this] { m_edit.CopySelectedText(); });
    on("mnuEditPaste", [this] { m_edit.PasteClipboardText(); });
    on("mnuEditDelete", [this] { m_edit.deleteSelection(); });
    on("mnuEditSelectAll", [this] { m_edit.selectAll(); });
    on("mnuEditTime", [this] { m_edit.insertTimeDate(); });
    on("mnuSearchFind", [this] { mnuSearchFind_Click(); });
    on("mnuSearchFindNext", [this] { mnuSearchFindNext_Click(); });
    on("mnuOptionsToolbar", [this] { mnuOptionsToolbar_Click(); });
    connect(m_menus->menu(QStringLiteral("mnuOptions")), &QMenu::aboutToShow, this, [this] { mnuOptions_Click(); });
    on("mnuFontName", [this] { mnuFontName_Click(0); });
    on("mnuHtmledit1", [this] { m_html.mnuHtmledit1_Click(*this); });
    on("mnuView", [this] { m_html.mnuView_Click(*this); });
}

void Textpad::Form_Load()
{
    m_html.ShowHtmlMenuForPane(*this);
    // Centred with its menu bar, so the size is settled first.
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2);
    }
    show();
    CurrentFolder::enterProgramFolder();
    m_state.textChanged = false;
    m_state.find.FindDirection = 1;
    listFonts();
}

void Textpad::listFonts()
{
    QMenu *fonts = m_menus->menu(QStringLiteral("mnuFonts"));
    QAction *first = m_menus->action(QStringLiteral("mnuFontName"));
    const QStringList families = QFontDatabase::families();
    for (int i = 0; i < families.size(); ++i) {
        QAction *item = i == 0 ? first : fonts->addAction(QString());
        // "&" would mark a key in a caption; the family itself stays in the item's data.
        item->setText(QString(families.at(i)).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setData(families.at(i));
        if (i > 0) {
            item->setObjectName(QStringLiteral("mnuFontName"));
            connect(item, &QAction::triggered, this, [this, i] { mnuFontName_Click(i); });
        }
    }
}

void Textpad::mnuFontName_Click(int index)
{
    const QList<QAction *> items = m_menus->menu(QStringLiteral("mnuFonts"))->actions();
    if (index < 0 || index >= items.size())
        return;
    const QString family = items.at(index)->data().toString();
    if (family.isEmpty())
        return;
    QFont font = m_txtNote->font();
    font.setFamily(family);
    m_txtNote->setFont(font);
}

void Textpad::mnuOptions_Click()
{
    m_menus->action(QStringLiteral("mnuOptionsToolbar"))->setChecked(!m_picToolbar->isHidden());
}

void Textpad::mnuOptionsToolbar_Click()
{
    // The text box stays where it is: an empty band is left where the strip was.
    m_picToolbar->setVisible(m_picToolbar->isHidden());
    m_menus->action(QStringLiteral("mnuOptionsToolbar"))->setChecked(!m_picToolbar->isHidden());
}

QString Textpad::text() const
{
    return m_txtNote->toPlainText();
}

void Textpad::txtNote_Change(qint64 charsRemoved, qint64 charsAdded)
{
    // An undo or redo back to the text last loaded or saved leaves it unchanged.
    if (charsRemoved > 0 || charsAdded > 0)
        m_state.textChanged = m_txtNote->isModified();
}

void Textpad::showCaption()
{
    setWindowTitle(PathCodec::displayText(m_document.caption()));
}

void Textpad::LoadTextFile(const QString &path, std::function<void(bool loaded)> done)
{
    // A load still running gives way to this one.
    if (m_load)
        m_load->stop();
    const QString caption = path.toUpper();
    m_load = std::make_unique<TextBoxLoad>(*m_txtNote, m_services.files.reader(), path, TextDocument::loadLimits);
    m_loadPath = path;
    m_loadDone = std::move(done);
    const auto showProgress = [this, caption](int percent) {
        setWindowTitle(QStringLiteral("%1 (%2%)").arg(PathCodec::displayText(caption)).arg(percent));
    };
    connect(m_load.get(), &TextBoxLoad::progress, this, showProgress);
    connect(m_load.get(), &TextBoxLoad::finished, this, [this](TextLoadOutcome outcome) { loadEnded(outcome); });
    showProgress(0);
    // The busy cursor: the program goes on meanwhile.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    setLoading(true);
}

void Textpad::loadEnded(TextLoadOutcome outcome)
{
    // The load goes once it has finished telling.
    const TextFormat format = m_load->format();
    const std::optional<FileStamp> stamp = m_load->stamp();
    const int error = m_load->error();
    m_load.release()->deleteLater();
    QApplication::restoreOverrideCursor();
    setLoading(false);
    if (outcome == TextLoadOutcome::TooLarge)
        m_services.dialogs.message(EditorMessages::fileTooLarge(TextDocument::maxFileSize, TextDocument::maxLines),
                                   MessageIcon::Exclamation);
    // A file that is there but cannot be read says why; a missing name or a folder passes
    // silently, as it always has.
    if (outcome == TextLoadOutcome::Unreadable && !(stamp && (!stamp->exists || stamp->folder)))
        m_services.dialogs.message(EditorMessages::readFailed(error), MessageIcon::Exclamation);
    const bool loaded = outcome == TextLoadOutcome::Loaded;
    if (loaded) {
        m_document.belongTo(m_loadPath, m_loadPath.toUpper(), format, stamp);
        m_state.textChanged = false;
    }
    showCaption();
    // Last: what the caller does next may load another file or close the window.
    if (const std::function<void(bool)> done = std::exchange(m_loadDone, nullptr))
        done(loaded);
}

void Textpad::setLoading(bool loading)
{
    // The window shows the text as it comes and keeps answering, but takes no command and no
    // edit until the whole file is in.
    m_txtNote->setReadOnly(loading);
    menuBar()->setEnabled(!loading);
    m_picToolbar->setEnabled(!loading);
    for (QAction *action : m_menus->shortcutActions())
        action->setEnabled(!loading);
}

bool Textpad::SaveTextFile(const QString &path, std::optional<TextEncoding> encoding)
{
    if (path.isEmpty())
        return false;
    bool written = false;
    {
        const WaitCursor wait;
        written = m_document.write(path, m_txtNote->lines(), TextDocument::LinkAtPath::WriteThrough, encoding);
    }
    if (!written)
        return false;
    m_txtNote->setModified(false);
    m_state.textChanged = false;
    return true;
}

bool Textpad::WriteTextToFile(const QString &path)
{
    const WaitCursor wait;
    return m_document.write(path, m_txtNote->lines(), TextDocument::LinkAtPath::Replace);
}

std::optional<QString> Textpad::askSaveName()
{
    const std::optional<QString> name = m_services.dialogs.saveFileName(m_dialog);
    if (name)
        m_dialog.fileName = *name;
    return name;
}

bool Textpad::StartNewDocument()
{
    if (!mayDropText())
        return false;
    m_txtNote->setPlainText(QString());
    m_document.makeUntitled();
    showCaption();
    m_state.textChanged = false;
    return true;
}

bool Textpad::SaveDocument()
{
    if (!m_document.isUntitled())
        return SaveTextFile(m_document.path());
    // An untitled document stays untitled: the next Save asks for a name again.
    const std::optional<QString> name = askSaveName();
    return name && SaveTextFile(*name);
}

Textpad::SaveAnswer Textpad::askToSave()
{
    const MessageAnswer answer = m_services.dialogs.message(
        MessageRequest{EditorMessages::saveChanges(PathCodec::displayText(m_document.caption())),
                       EditorMessages::saveChangesTitle(), MessageButtons::YesNo, MessageIcon::None});
    if (answer != MessageAnswer::Yes)
        return SaveAnswer::No;
    return SaveDocument() ? SaveAnswer::Saved : SaveAnswer::Stopped;
}

bool Textpad::Createfile()
{
    const SaveAnswer answer = askToSave();
    if (answer == SaveAnswer::No)
        m_state.textChanged = false;
    return answer != SaveAnswer::Stopped;
}

bool Textpad::mayDropText()
{
    return !m_state.textChanged || Createfile();
}

bool Textpad::Form_QueryUnload()
{
    return mayDropText();
}

void Textpad::mnuFileNew_Click()
{
    StartNewDocument();
}

void Textpad::mnuFileSave_Click()
{
    SaveDocument();
}

bool Textpad::mnuFileSaveAs_Click()
{
    const std::optional<QString> name = askSaveName();
    if (!name)
        return false;
    // A text its own encoding cannot hold may go out as UTF-8, if the user wants it so.
    const std::optional<TextEncoding> encoding = m_document.encodingForSaveAs(m_txtNote->lines());
    if (!encoding)
        return false;
    const bool saved = SaveTextFile(*name, *encoding);
    // Written over its own file, the document's file now has that encoding.
    if (saved && *encoding != m_document.format().encoding && m_document.isOwnFile(*name))
        m_document.useEncoding(*encoding);
    // A named document stays with its own file: Save As writes a copy.
    if (m_document.isUntitled()) {
        m_document.adoptPath(*name, *name);
        showCaption();
    }
    return saved;
}

void Textpad::mnuFileExit_Click()
{
    close();
}

void Textpad::FileOpenProc()
{
    const bool untitled = m_document.caption() == TextDocument::untitledCaption();
    if (untitled) {
        m_dialog.fileName.clear();
        if (m_state.textChanged) {
            // The unsaved text is saved first, under a name the user picks; without it, the
            // open goes no further.
            const std::optional<QString> name = askSaveName();
            if (!name)
                return;
            m_document.adoptPath(*name, *name);
            showCaption();
            if (!SaveTextFile(*name))
                return;
        }
    } else {
        // No keeps the text marked changed until a file really replaces it: a cancelled
        // dialog or a file that does not load leaves it to be asked about again.
        if (m_state.textChanged && askToSave() == SaveAnswer::Stopped)
            return;
        m_dialog.filter = TextpadDesign::openFilter();
        m_dialog.selectedFilter = TextpadDesign::openFilterFirstEntry();
        m_dialog.fileMustExist = true;
        const std::optional<QString> name = m_services.dialogs.openFileName(m_dialog);
        if (!name)
            return;
        m_dialog.fileName = *name;
        m_html.ShowHtmlMenuForFile(*this, *name);
        if (!name->isEmpty())
            LoadTextFile(*name);
        return;
    }
    const std::optional<QString> name = m_services.dialogs.openFileName(m_dialog);
    if (!name)
        return;
    m_dialog.fileName = *name;
    m_html.ShowHtmlMenuForFile(*this, *name);
    // The caption is the name as the dialog gave it, once the file is in.
    LoadTextFile(*name, [this, path = *name](bool loaded) {
        if (!loaded)
            return;
        m_document.adoptPath(path, path);
        showCaption();
    });
}

void Textpad::mnuSearchFind_Click()
{
    frmFind *dialog = m_find.get();
    if (!dialog)
        return;
    dialog->txtFind()->setText(m_txtNote->hasSelection() ? m_edit.selectedText() : m_state.find.FindWhat);
    m_state.find.FindFresh = true;
    if (m_state.find.FindMatchCase)
        dialog->chkCase()->setChecked(true);
    // Modal: the editor takes no input while the dialog is open; each search selects its
    // match in the text behind it.
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void Textpad::mnuSearchFindNext_Click()
{
    if (m_state.find.FindWhat.isEmpty())
        mnuSearchFind_Click();
    else
        FindNextMatch();
}

void Textpad::FindNextMatch()
{
    FindState &find = m_state.find;
    const qsizetype caret = m_txtNote->selectionStart();
    if (const std::optional<qint64> match = FindEngine::nextMatch(m_txtNote->lines(), caret, find)) {
        m_txtNote->select(*match, *match + find.FindWhat.size());
    } else {
        m_services.dialogs.message(QStringLiteral("Cannot find \"") + find.FindWhat + QLatin1Char('"'));
    }
    find.FindLastPos = m_txtNote->selectionStart();
    find.FindFresh = false;
}

bool Textpad::isHtmlMenuVisible() const
{
    return m_menus->action(QStringLiteral("mnuHtmledit0"))->isVisible();
}

void Textpad::setHtmlMenuVisible(bool visible)
{
    m_menus->action(QStringLiteral("mnuHtmledit0"))->setVisible(visible);
}

void Textpad::closeEvent(QCloseEvent *event)
{
    // Closing while a file loads drops the load: the window closes on what it held before.
    if (m_load)
        m_load->stop();
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT unloadRequested();
}
