#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The spelling of names and values in the settings file, as QSettings writes and reads its INI
// files, so that files written by either side read the same on the other. One difference:
// bytes that are not UTF-8 are kept as the path codec keeps them (a lone surrogate each) rather
// than turned into U+FFFD, so that such a value written back gives its own bytes again.
namespace IniSyntax {

// What a value line holds: text, or something else (a list, a number of another type, a
// picture of a variant), which the store treats as no text.
struct Value
{
    bool isText = false;
    QString text;
};

// A key as the file spells it ("Panoptra\MainForm\Form%20BackColor") and back: "\" stands for
// "/", %XX and %UXXXX for any character but letters, digits, "_", "-" and ".".
QString decodeKey(QByteArrayView spelled);
// The same, appended to key.
void appendKey(QString &key, QByteArrayView spelled);
QByteArray encodeKey(const QString &key);

// The keys' prefix that a section header's name gives: "" for [General], else the name
// and "/". name is what stands between the brackets.
QString sectionPrefix(QByteArrayView name);
// The header line's text (without line end) of the section whose keys start with name + "/".
QByteArray sectionHeader(const QString &name);

// What stands after the "=" of a line, up to the line's end or comment.
Value decodeValue(QByteArrayView spelled);
// The spelling of a text value; decodeValue gives the text back.
QByteArray encodeText(const QString &text);

} // namespace IniSyntax
