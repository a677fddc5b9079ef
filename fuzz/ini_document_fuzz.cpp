// libFuzzer target: any bytes as the settings file. The reader must keep the file's bytes;
// a text stored under a key, new or already in the file, must read back (also from the file
// written), change only the one line of that key and no other key's value; a key removed must
// be gone and leave the others; and a name and a text spelled for the file must read back as
// they were. The names and texts come from the input, decoded as the program decodes bytes.

#include "settings/IniDocument.h"
#include "settings/IniSyntax.h"
#include "platform/PathCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        fprintf(stderr, "ini_document_fuzz: %s\n", what);
        abort();
    }
}

bool sameValue(const std::optional<IniSyntax::Value> &a, const std::optional<IniSyntax::Value> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || (a->isText == b->isText && (!a->isText || a->text == b->text));
}

// The keys the file seems to hold, read roughly: a line's name before its "=", under the last
// header. A key the file does not hold does no harm: its value is none before and after.
QStringList roughKeys(const QByteArray &bytes)
{
    QStringList keys;
    QString prefix;
    for (QByteArrayView line : bytes.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            prefix = IniSyntax::sectionPrefix(line.sliced(1, (close < 0 ? line.size() : close) - 1));
        } else if (const qsizetype equals = line.indexOf('='); equals > 0) {
            keys << prefix + IniSyntax::decodeKey(line.first(equals).trimmed());
        }
    }
    return keys;
}

// What the program could store: the input's bytes as it decodes any bytes.
QString textFrom(QByteArrayView bytes)
{
    return PathCodec::decode(bytes.constData(), bytes.size());
}

// A change of the file is one stretch: what it took out holds no line end, unless lines may go.
bool changesOneLine(const QByteArray &before, const QByteArray &after)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return !before.sliced(head, before.size() - head - tail).contains('\n');
}

struct Values
{
    QStringList keys;
    QList<std::optional<IniSyntax::Value>> values;
};

Values valuesOf(const IniDocument &document, const QStringList &keys)
{
    Values values{keys, {}};
    for (const QString &key : keys)
        values.values << document.value(key);
    return values;
}

// Every key but the one changed reads as before.
void checkOthersKept(const IniDocument &document, const Values &before, const QString &changed, const char *what)
{
    for (qsizetype i = 0; i < before.keys.size(); ++i) {
        const QString &key = before.keys.at(i);
        if (key.compare(changed, Qt::CaseInsensitive) == 0 || sameValue(document.value(key), before.values.at(i)))
            continue;
        fprintf(stderr, "ini_document_fuzz: key %s, after %s\n", qPrintable(key), qPrintable(changed));
        check(false, what);
    }
}

void storeAndRemove(const QByteArray &bytes, const QStringList &path, const QString &text, const QStringList &keys)
{
    IniDocument document(bytes);
    const QString key = path.join(u'/');
    const Values before = valuesOf(document, keys);
    const bool changed = document.setText(path, text);
    const std::optional<IniSyntax::Value> stored = document.value(key);
    check(stored && stored->isText && stored->text == text, "a text stored does not read back");
    check(changed || document.bytes() == bytes, "an unchanged value changed the file");
    check(changesOneLine(bytes, document.bytes()), "storing a text changed more than its line");
    check(sameValue(IniDocument(document.bytes()).value(key), stored), "the file written reads otherwise");
    checkOthersKept(document, before, key, "storing a text changed another key");

    const QByteArray written = document.bytes();
    check(document.remove(key), "a key stored is not there to remove");
    check(!document.value(key) && !IniDocument(document.bytes()).value(key), "a key removed is still there");
    checkOthersKept(document, before, key, "removing a key changed another key");
    check(document.bytes().size() < written.size(), "removing a key removed nothing");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const IniDocument document(bytes);
    check(document.bytes() == bytes, "reading changed the bytes");
    const QStringList keys = roughKeys(bytes);
    for (const QString &key : keys)
        document.value(key);

    // A name and a text from the input's ends; a name's "/" would begin a group of its own.
    QString name = textFrom(QByteArrayView(bytes).first(std::min<qsizetype>(8, bytes.size())));
    name.remove(u'/');
    if (name.isEmpty())
        name = QStringLiteral("Form BackColor");
    const QString text = textFrom(QByteArrayView(bytes).last(std::min<qsizetype>(24, bytes.size())));
    check(IniSyntax::decodeKey(IniSyntax::encodeKey(name)) == name, "a name spelled reads otherwise");
    const IniSyntax::Value spelled = IniSyntax::decodeValue(IniSyntax::encodeText(text));
    check(spelled.isText && spelled.text == text, "a text spelled reads otherwise");

    // A new key in a group, and a key the file holds already.
    storeAndRemove(bytes, {QStringLiteral("Software"), QStringLiteral("Panoptra"), name}, text, keys);
    for (const QString &key : keys) {
        if (!key.isEmpty() && !key.startsWith(u'/') && !key.endsWith(u'/') && !key.contains(QStringLiteral("//"))) {
            storeAndRemove(bytes, key.split(u'/'), text, keys);
            break;
        }
    }
    return 0;
}
