#pragma once

#include "links/HtmlViewer.h"
#include "links/PictureOpener.h"
#include "links/TextLoader.h"

#include <QStringList>

#include <functional>
#include <utility>

// The editor as the commands see it: records each path it is asked to load.
class RecordingEditor : public TextLoader
{
public:
    void LoadTextFile(const QString &path, std::function<void(bool)> done) override
    {
        loaded << path;
        m_done = std::move(done);
        if (!later)
            finishLoad();
    }
    // The load asked for last ends now, as accept says.
    void finishLoad()
    {
        if (const std::function<void(bool)> done = std::exchange(m_done, nullptr))
            done(accept);
    }
    QStringList loaded;
    // False: the user keeps the editor's changed text and the load does not take place.
    bool accept = true;
    // True: a load ends only at finishLoad(), as a real one ends after the call.
    bool later = false;

private:
    std::function<void(bool)> m_done;
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
