#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What a double-click does with a file, chosen by the ending of its name.
enum class OpenGroup { Run, Media, Picture, Html };

// The ending tables of the commands that open a file by the ending of its name, and the one
// rule they share: a name has an ending when its last characters, as many as the ending has,
// are the ending itself, letter case included. No dot is needed before it, and a name shorter
// than the ending never has it.
namespace OpenEndings {

bool endsIn(const QString &name, const QString &ending);
bool endsInAny(const QString &name, const QStringList &endings);

// The group of the first row of the double-click table that name ends in, the pane's own
// media endings tested in their place in the table; nothing when no row matches.
std::optional<OpenGroup> dispatchGroup(const QString &name, const QStringList &paneOwnMediaEndings);

// View Text: the endings that open in the editor, in test order.
const QStringList &textTypeEndings();
// View Html's gate, and the editor's test for an HTML document.
const QStringList &htmlEndings();
// View Graphic's gate: the endings of the double-click table's picture rows.
const QStringList &pictureEndings();
// ZipView: the endings of the archives it hands to the desktop.
const QStringList &archiveEndings();

} // namespace OpenEndings
