#pragma once

#include "panes/PaneSpec.h"

#include <QObject>

class DriveList;
class FileList;
class FolderList;
class QLineEdit;
class QPushButton;
class QWidget;

// One pane of the main window: drive list above folder list above file list, with the
// "Change Extension" button and the pattern box below. The controls are children of the
// given parent (the main window's client area) and carry the design's object names.
class Pane : public QObject
{
    Q_OBJECT

public:
    Pane(const PaneSpec &spec, QWidget *parent);

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
    DriveList *m_driveList;
    FolderList *m_folderList;
    FileList *m_fileList;
    QLineEdit *m_patternBox;
    QPushButton *m_button;
};
