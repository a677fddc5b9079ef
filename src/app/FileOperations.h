#pragma once

#include "fileops/CopyBatch.h"
#include "fileops/CopyCommands.h"
#include "fileops/CopyFileTo.h"
#include "fileops/DeleteCommands.h"
#include "fileops/FileRename.h"
#include "fileops/FolderRename.h"
#include "fileops/NewFolder.h"
#include "fileops/PasteCommands.h"
#include "fileops/RemoveFolder.h"
#include "fileops/SearchResultBatch.h"
#include "fileops/SharedStandby.h"
#include "links/SearchResults.h"

class MainMenus;
class PaneBoard;
class QWidget;
struct Services;

// The search window's result list once one is connected; until then an empty list.
class ConnectedSearchResults : public SearchResults
{
public:
    void connectTo(SearchResults *results) { m_results = results; }
    int count() const override { return m_results ? m_results->count() : 0; }
    bool isSelected(int index) const override { return m_results && m_results->isSelected(index); }
    QString entry(int index) const override { return m_results ? m_results->entry(index) : QString(); }
    void clear() override
    {
        if (m_results)
            m_results->clear();
    }

private:
    SearchResults *m_results = nullptr;
};

// The main window's file operations: the copy batch, the busy window and the commands of the
// File menu and the panes' pop-ups, connected to their menu items.
class FileOperations
{
public:
    FileOperations(PaneBoard &board, Services &services, QWidget *owner);

    void connectMenus(MainMenus &menus, QObject *context);

    CopyBatch &batch() { return m_batch; }
    // The search window's Copy fills the batch through ListCopy.
    SearchResultBatch &searchBatch() { return m_searchBatch; }

    // Where the search window's result list is reached.
    void setSearchResults(SearchResults *results) { m_searchResults.connectTo(results); }

private:
    ConnectedSearchResults m_searchResults;
    SharedStandby m_standby;
    CopyBatch m_batch;
    SearchResultBatch m_searchBatch;
    CopyCommands m_copy;
    PasteCommands m_paste;
    DeleteCommands m_delete;
    CopyFileTo m_copyFileTo;
    FileRename m_fileRename;
    FolderRename m_folderRename;
    NewFolder m_newFolder;
    RemoveFolder m_removeFolder;
};
