#include "picview/RealViewDesign.h"

#include <QStringList>

namespace RealViewDesign {

const QList<MenuEntry> &menuTable()
{
    static const QList<MenuEntry> table = {
        {"", "mnuFile", "File", ""},
        {"mnuFile", "mnuClip", "Copy to Clipboard", "Ctrl+C"},
        {"mnuFile", "mnuEnlarge", "Enlarge Picture", "Ctrl+E"},
        {"mnuFile", "mnuOpen", "Open New Picture", "Ctrl+O"},
        {"mnuFile", "mnuPrint", "Print", "Ctrl+P"},
        {"mnuFile", "mnuReduce", "Reduce Picture", "Ctrl+R"},
        {"mnuFile", "mnuSaveAs", "Save As", "Ctrl+S"},
        {"mnuFile", "mnuExit", "Exit", "Ctrl+X"},
    };
    return table;
}

QString openFilter()
{
    // The file system tells case apart, so each ending is listed in the case forms a name
    // commonly has; the JPEG names are ours.
    static const char *const endings[] = {"Bmp", "Cur", "Gif", "Ico", "Jpg", "Wmf", "Jpeg"};
    QStringList patterns;
    for (const char *ending : endings) {
        const QString name = QLatin1String(ending);
        for (const QString &form : {name, name.toUpper(), name.toLower()})
            patterns << QStringLiteral("*.") + form;
    }
    return QStringLiteral("Pictures (%1)").arg(patterns.join(QLatin1Char(' ')));
}

QString atMaximumMessage()
{
    return QStringLiteral("Magnification is at maximum");
}

QString clipboardRefusedMessage()
{
    return QStringLiteral("File format not recognized in Clipboard Viewer");
}

} // namespace RealViewDesign
