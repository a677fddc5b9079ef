#include "app/HelpText.h"

namespace HelpText {

QString text()
{
    // Plain text, one line per entry; the indentation is part of the text.
    static const char *const lines[] = {
        "                                                            ",
        "                                                 PANOPTRA HELP",
        "",
        "    Panoptra puts many tools in one window: a deep search of a drive for files,",
        "    viewing of zip archives, still pictures, movie clips and text files, playing",
        "    sound files, an HTML viewer and an HTML editor, quick web links, a store of",
        "    favorite links, a fast search-engine search, a program launcher, and a file",
        "    browser over several drives. A drive is the root folder \"/\" or a mounted",
        "    volume. You pick how many drives you see at once, up to five, with",
        "    Desktop > Drive View.",
        "",
        "    Some tips for getting started:",
        "",
        "     - Most commands are on the right-button menus. They act on the file whose",
        "       name ends the way the command says (.txt, .htm, .bmp and so on).",
        "     - An empty file list means that the folder has no files of that type.",
        "       Type *.* in the box under \"Change Extension\" and click the button to",
        "       show all files.",
        "     - Deleted files go to the desktop trash, where you can get them back.",
        "     - Deleting many files can take minutes. Wait until the word \"Deleting\"",
        "       disappears before you go on.",
        "     - A right click on a folder lets you rename it, remove it or create a",
        "       new folder.",
        "     - Type a pattern as an asterisk, a period and the ending: *.exe, *.zip,",
        "       or *.* for all files.",
        "     - The Search command of the File menu searches a whole drive when the",
        "       file is not where you expected it.",
        "     - A double click on a folder shows its files.",
        "     - The web links that come with Panoptra cannot be removed.",
        "",
        "    Notes:",
        "",
        "       To remove a web link of your own, type its name with the same upper",
        "       and lower case letters as when you added it.",
        "       The web commands open the pages in the desktop's default web browser.",
        "       Viewing zip archives needs an archive program on the desktop.",
        "       The HTML editor shows each change when you click \"Show Changes\".",
        "       The last change of an edited HTML file is saved as \"temp.html\" in",
        "       the same folder as the file.",
        "",
    };
    QString text;
    for (const char *line : lines)
        text += QString::fromUtf8(line) + QLatin1Char('\n');
    return text;
}

} // namespace HelpText
