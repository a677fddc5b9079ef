#pragma once

#include "open/OpenTargets.h"

#include <QStringList>

// The editor as the commands see it: records each path it is asked to load.
class RecordingEditor : public TextFileOpener
{
public:
    bool openTextFile(const QString &path) override
    {
        loaded << path;
        return accept;
    }
    QStringList loaded;
    // False: the user keeps the editor's changed text and the load does not take place.
    bool accept = true;
};

class RecordingHtmlViewer : public HtmlPageViewer
{
public:
    void showHtmlViewer(const QString &path) override { shown << path; }
    QStringList shown;
};

class RecordingPictureOpener : public PictureOpener
{
public:
    void viewGraphic() override { ++calls; }
    int calls = 0;
};
