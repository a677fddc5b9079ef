#pragma once

#include "links/HtmlViewer.h"
#include "links/PictureOpener.h"
#include "links/TextLoader.h"

#include <QStringList>

// The editor as the commands see it: records each path it is asked to load.
class RecordingEditor : public TextLoader
{
public:
    bool LoadTextFile(const QString &path) override
    {
        loaded << path;
        return accept;
    }
    QStringList loaded;
    // False: the user keeps the editor's changed text and the load does not take place.
    bool accept = true;
};

// The HTML viewer takes the file the editor has just loaded: it records that file at each show.
class RecordingHtmlViewer : public HtmlViewer
{
public:
    explicit RecordingHtmlViewer(const RecordingEditor &editor) : m_editor(editor) { }
    void showHtmlViewer() override { shown << m_editor.loaded.value(m_editor.loaded.size() - 1); }
    QStringList shown;

private:
    const RecordingEditor &m_editor;
};

class RecordingPictureOpener : public PictureOpener
{
public:
    void mnuBmp_Click() override { ++calls; }
    int calls = 0;
};
