#pragma once

#include "panes/PaneSpec.h"

#include "panes/DriveList.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QPushButton>

class FolderReadCache;

// One pane of the main window: drive list above folder list above file list, with the
// "Change Extension" button and the pattern box below. The controls are children of the
// given parent (the main window's client area), carry the design's object names, tooltips
// and colours, and stand in the design rectangles; the pane deletes them when it goes.
class Pane : public QObject
{
    Q_OBJECT

public:
    Pane(const PaneSpec &spec, QWidget *parent, FolderReadCache &cache);
    ~Pane() override;

    const PaneSpec &spec() const { return m_spec; }
    int number() const { return m_spec.number; }
    QString numberText() const { return m_spec.numberText(); }

    DriveList *driveList() const { return m_driveList; }
    FolderList *folderList() const { return m_folderList; }
    FileList *fileList() const { return m_fileList; }
    QLineEdit *patternBox() const { return m_patternBox; }
    QPushButton *button() const { return m_button; }

    // Shows or hides all five controls.
    void setVisible(bool visible);

private:
    PaneSpec m_spec;
    QPointer<DriveList> m_driveList;
    QPointer<FolderList> m_folderList;
    QPointer<FileList> m_fileList;
    QPointer<QLineEdit> m_patternBox;
    QPointer<QPushButton> m_button;
};
