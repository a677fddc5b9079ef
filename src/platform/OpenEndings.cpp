#include "platform/OpenEndings.h"

#include <array>

namespace {

struct DispatchRow
{
    std::array<const char *, 3> forms;
    OpenGroup group;
};

// The double-click table, rows and forms in test order. The row without forms stands where
// the pane's own media endings are tested.
const DispatchRow dispatchRows[] = {
    {{"Sys", "sys", "SYS"}, OpenGroup::Run},
    {{"BAT", "Bat", "bat"}, OpenGroup::Run},
    {{"exe", "EXE", "Exe"}, OpenGroup::Run},
    {{"Dll", "DLL", "dll"}, OpenGroup::Run},
    {{"Com", "com", "COM"}, OpenGroup::Run},
    {{"WAV", "Wav", "wav"}, OpenGroup::Media},
    {{"MPG", "Mpg", "mpg"}, OpenGroup::Media},
    {{nullptr, nullptr, nullptr}, OpenGroup::Media},
    {{"Avi", "AVI", "avi"}, OpenGroup::Media},
    {{"MID", "Mid", "mid"}, OpenGroup::Media},
    {{"MIDI", "Midi", "midi"}, OpenGroup::Media},
    {{"asf", "ASF", "Asf"}, OpenGroup::Media},
    {{"aiff", "AIFF", "Aiff"}, OpenGroup::Media},
    {{"aif", "Aif", "AIF"}, OpenGroup::Media},
    {{"AIFC", "Aifc", "aifc"}, OpenGroup::Media},
    {{"SND", "Snd", "snd"}, OpenGroup::Media},
    {{"SWF", "Swf", "swf"}, OpenGroup::Media},
    {{"RMI", "Rmi", "rmi"}, OpenGroup::Media},
    {{"MP3", "Mp3", "mp3"}, OpenGroup::Media},
    {{"WMA", "Wma", "wma"}, OpenGroup::Media},
    {{"AU", "Au", "au"}, OpenGroup::Media},
    {{"WPL", "Wpl", "wpl"}, OpenGroup::Media},
    {{"WMF", "Wmf", "wmf"}, OpenGroup::Picture},
    {{"BMP", "Bmp", "bmp"}, OpenGroup::Picture},
    {{"JPG", "Jpg", "jpg"}, OpenGroup::Picture},
    {{"JPEG", "Jpeg", "jpeg"}, OpenGroup::Picture},
    {{"GIF", "Gif", "gif"}, OpenGroup::Picture},
    {{"ICO", "Ico", "ico"}, OpenGroup::Picture},
    {{"CUR", "Cur", "cur"}, OpenGroup::Picture},
    {{"HTM", "Htm", "htm"}, OpenGroup::Html},
    {{"HTML", "Html", "html"}, OpenGroup::Html},
};

// Names ending in config were never opened as text: the entries are not listed.
const char *const textTypes[] = {
    "TXT", "bat", "txt", "doc", "DOC", "SYS", "sys", "ini", "BAT", "INI", "log", "LOG",
    "htm", "HTM", "htt", "HTT", "pss", "PSS", "scf", "SCF", "htz", "HTZ", "sam", "SAM",
    "Txt", "Bat", "Doc", "Sys", "Ini", "Log", "Htm", "Htt", "Pss", "Scf", "Htz", "Sam",
    "TTF", "ttf", "BAK", "Bak", "bak", "Ago", "AGO", "GPL", "gpl", "TMP", "tmp", "Tmp",
    "INF", "inf", "Inf", "CFG", "cfg", "Cfg", "SCP", "Scp", "scp", "DIZ", "Diz", "diz",
    "HTML", "Html", "html",
};

const char *const htmlTypes[] = {"htm", "HTM", "Htm", "html", "HTML", "Html"};

const char *const archiveTypes[] = {
    "Zip", "ZIP", "zip",
    "tar.Z", "Tar.Z", "TAR.Z", "tar.z", "Tar.z", "TAR.z",
    "TAR.GZ", "Tar.gz", "tar.gz",
    "PS.Z", "Ps.Z", "ps.Z", "ps.z", "Ps.z",
    "Shar.z", "SHAR.Z", "Shar.Z", "shar.Z", "shar.z",
    "TAR", "Tar", "tar",
    ".z", ".Z",
};

template <std::size_t N>
QStringList listOf(const char *const (&texts)[N])
{
    QStringList list;
    list.reserve(qsizetype(N));
    for (const char *text : texts)
        list.append(QString::fromLatin1(text));
    return list;
}

} // namespace

namespace OpenEndings {

bool endsIn(const QString &name, const QString &ending)
{
    // The last characters of the name compared with the ending, case and all.
    return name.endsWith(ending, Qt::CaseSensitive);
}

bool endsInAny(const QString &name, const QStringList &endings)
{
    for (const QString &ending : endings) {
        if (endsIn(name, ending))
            return true;
    }
    return false;
}

std::optional<OpenGroup> dispatchGroup(const QString &name, const QStringList &paneOwnMediaEndings)
{
    for (const DispatchRow &row : dispatchRows) {
        if (!row.forms.front()) {
            if (endsInAny(name, paneOwnMediaEndings))
                return row.group;
            continue;
        }
        for (const char *form : row.forms) {
            if (endsIn(name, QString::fromLatin1(form)))
                return row.group;
        }
    }
    return std::nullopt;
}

const QStringList &textTypeEndings()
{
    static const QStringList list = listOf(textTypes);
    return list;
}

const QStringList &htmlEndings()
{
    static const QStringList list = listOf(htmlTypes);
    return list;
}

const QStringList &pictureEndings()
{
    static const QStringList list = [] {
        QStringList endings;
        for (const DispatchRow &row : dispatchRows) {
            if (row.group != OpenGroup::Picture)
                continue;
            for (const char *form : row.forms)
                endings.append(QString::fromLatin1(form));
        }
        return endings;
    }();
    return list;
}

const QStringList &archiveEndings()
{
    static const QStringList list = listOf(archiveTypes);
    return list;
}

} // namespace OpenEndings
