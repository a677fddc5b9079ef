#pragma once

#include "editor/EditCommands.h"
#include "editor/HtmlMenuHost.h"
#include "editor/TextDocument.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/SharedWindow.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class HtmlPreview;
class MenuShortcutFilter;
class MenuTree;
class TextBoxLoad;
class frmFind;
class TextBox;
class ToolbarButton;
struct EditorState;
struct Services;

// The editor window: one document in the text box txtNote, the toolbar strip picToolbar and
// the menus of its own. The window's fixed design has no layout: every control keeps its
// place. Its commands are plain methods; the menus and the toolbar call them.
class Textpad : public QMainWindow, public HtmlMenuHost
{
    Q_OBJECT

public:
    Textpad(Services &services, EditorState &state, HtmlPreview &html, QWidget *parent = nullptr);
    ~Textpad() override;

    // The load: the HTML menu test, centred on the screen and shown, the program's folder made
    // the current folder, the text unchanged and the search direction down, the Fonts menu
    // listing the screen fonts.
    void Form_Load();

    // Replaces the document by the file, without asking. The file is read on a worker while the
    // window answers, taking no command or edit until the whole file is in. done, when given,
    // then runs with true; with false (nothing changed) when the file cannot be read or is
    // refused as too large (which a message says), or when the load is stopped (the window is
    // closed, another load begins). It never runs once the window is gone.
    void LoadTextFile(const QString &path, std::function<void(bool loaded)> done = {});
    bool isLoading() const { return m_load != nullptr; }
    // Writes the text to path and marks it unchanged; an empty path does nothing. The text is
    // written in the document's encoding, or in encoding when given.
    bool SaveTextFile(const QString &path, std::optional<TextEncoding> encoding = std::nullopt);
    // Writes the text to path (the HTML preview) as a file of its own: a link there is
    // replaced, not followed. The changed mark stays as it is.
    bool WriteTextToFile(const QString &path) override;
    // File > New; false when the user's save before it was cancelled or failed.
    bool StartNewDocument();
    // File > Save; false when cancelled or failed.
    bool SaveDocument();
    // "Save changes to ...?": true when the caller may go on (No, or Yes and saved).
    bool Createfile();
    // Asks before a changed text is dropped: true when the text may go.
    bool mayDropText();
    // The close prompt; false keeps the window open.
    bool Form_QueryUnload();
    // File > Open and the Open button: the open dialog, after the save prompt of a named
    // document or the save dialog of a changed untitled one.
    void FileOpenProc();

    // Search > Find: the find dialog, shown modally over the editor.
    void mnuSearchFind_Click();
    // Search > Find Next (F3): the next match, or the dialog when there is nothing to find.
    void mnuSearchFindNext_Click();
    // Selects the next match of the find text, or says that there is none.
    void FindNextMatch();
    SharedWindow<frmFind> &findDialog() { return m_find; }

    bool isHtmlMenuVisible() const;
    void setHtmlMenuVisible(bool visible) override;

    void mnuFileNew_Click();
    void mnuFileSave_Click();
    bool mnuFileSaveAs_Click();
    void mnuFileExit_Click();
    void mnuOptions_Click();
    void mnuOptionsToolbar_Click();
    void mnuFontName_Click(int index);

    EditCommands &edit() { return m_edit; }
    TextDocument &document() { return m_document; }
    const TextDocument &document() const override { return m_document; }
    const MenuTree &menus() const { return *m_menus; }
    // The text as the box holds it, line breaks as "\n", every character kept.
    QString text() const;
    TextBox *txtNote() const { return m_txtNote; }
    QWidget *picToolbar() const { return m_picToolbar; }

Q_SIGNALS:
    // The window was closed and asks its owner to unload it.
    void unloadRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void wireMenus();
    void listFonts();
    void showCaption();
    std::optional<QString> askSaveName();
    // The save prompt's answer: No, Yes and saved, or Yes and the save cancelled or failed.
    enum class SaveAnswer { No, Saved, Stopped };
    SaveAnswer askToSave();
    void txtNote_Change(qint64 charsRemoved, qint64 charsAdded);
    void setLoading(bool loading);
    void loadEnded(TextLoadOutcome outcome);

    Services &m_services;
    EditorState &m_state;
    HtmlPreview &m_html;
    TextDocument m_document;
    // The window's one file dialog (CMDialog1), shared by its open and save dialogs and kept
    // while the window is loaded.
    FileDialogRequest m_dialog;
    QWidget *m_client;
    QWidget *m_picToolbar;
    TextBox *m_txtNote;
    std::unique_ptr<MenuTree> m_menus;
    std::unique_ptr<MenuShortcutFilter> m_menuKeys;
    EditCommands m_edit;
    SharedWindow<frmFind> m_find;
    // The load under way, the file it reads and who waits for it.
    std::unique_ptr<TextBoxLoad> m_load;
    QString m_loadPath;
    std::function<void(bool)> m_loadDone;
};
