#pragma once

#include "folders/FolderReadCache.h"
#include "panes/Pane.h"

#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <array>
#include <memory>

class QWidget;
struct Services;

// The file browser of the main window: the five panes, the active pane (whose file list was
// clicked last), the pane whose folder list changed last, and the message field, with the
// event steps that keep them in step. The two pane numbers are kept here and written through
// to the designed hidden fields; nothing reads them back from there.
//
// Features act on the panes through this object; the main window owns it.
class PaneBoard : public QObject
{
    Q_OBJECT

public:
    enum class PopupKind { Folder, File };

    // Creates the panes' controls and the three fields on parent. Every pane opens on the
    // program's current folder with all files listed; no pane is active or changed its folder
    // yet, and the message field is hidden.
    PaneBoard(QWidget *parent, Services &services);
    ~PaneBoard() override;

    // Pane n, n = 1..5.
    Pane &pane(int n) const;
    // The pane whose file list was clicked last; 0 before the first click.
    int activePane() const { return m_activePane; }
    // The pane whose folder list changed last; 0 before the first change.
    int lastFolderChangePane() const { return m_lastFolderChangePane; }
    // The hidden fields that show the two numbers as text ("" for none), as designed.
    const QLineEdit *text6() const { return m_text6; }
    const QLineEdit *text7() const { return m_text7; }
    // The message field.
    QLineEdit *text8() const { return m_text8; }

    // The first pane 1..5 (hidden panes included) whose file list has its current item beyond
    // the first, or its first item selected; 0 when none.
    int paneHasSelection() const;
    // The rule for one pane: its file list has items, and its current item beyond the first or
    // its first item selected.
    bool passesSelectionRule(int n) const;
    // Pane n's folder (its folder list's path) and current file name joined.
    QString paneFilePath(int n) const;

    // The event steps, one set per pane; the lists' events call them, and so may features.
    void driveChange(int n);
    void folderChange(int n);
    void fileListClick(int n);
    void changeExtension(int n);
    // " Desktop" > "Refresh All": the five file lists, in pane order.
    void refreshAll();
    // The file pop-up's "Refresh": pane n's file list only.
    void refreshPane(int n);
    // Refreshes the file lists of the given panes in that order, as one step of the read cache:
    // lists on the same folder with the same pattern share one read.
    void refreshFileLists(const QList<int> &panes);

Q_SIGNALS:
    // A right-button release over a pane's folder or file list: show that pane's pop-up.
    void popupRequested(int pane, PaneBoard::PopupKind kind, const QPoint &globalPos);
    // A double-click on a file of pane n's file list (opening by type).
    void fileDoubleClicked(int pane);

private:
    void openAtStart();
    void connectPane(Pane &pane);
    void setActivePane(int n);
    void setLastFolderChangePane(int n);
    // The file lists (or folder lists) of every pane but n, in pane order.
    void refreshOthers(int n, bool folderLists);
    void onMouseReleased(int n, PopupKind kind, Qt::MouseButton button, const QPoint &globalPos);

    Services &m_services;
    // Decides for every list whether its folder is read again; outlives the panes.
    FolderReadCache m_cache{2 * PaneCount};
    std::array<std::unique_ptr<Pane>, PaneCount> m_panes;
    int m_activePane = 0;
    int m_lastFolderChangePane = 0;
    // The fields are the parent's children: it may delete them before this board goes.
    QPointer<QLineEdit> m_text6;
    QPointer<QLineEdit> m_text7;
    QPointer<QLineEdit> m_text8;
};
