#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// The names of a file list in their order, kept as the folder stores them: every name's bytes
// in one buffer, with where each ends. 100,000 names take little more than their text, where
// a list of strings would take some 60 bytes more per name. Copies share the one buffer, and
// nothing changes it once made, so lists showing the same folder hold one set of names.
class FileNames
{
public:
    FileNames();
    // bytes holds the names one after the other; ends[i] is where name i ends.
    FileNames(QByteArray bytes, std::vector<qsizetype> ends);

    qsizetype size() const { return m_data ? qsizetype(m_data->ends.size()) : 0; }
    bool isEmpty() const { return size() == 0; }
    // Name i as the program shows and uses it (see PathCodec); "" out of range.
    QString at(qsizetype i) const;
    // Name i as stored in the folder.
    QByteArrayView bytes(qsizetype i) const;
    QStringList toStringList() const;
    // The names that keep accepts, in the same order; this very list when it keeps all.
    FileNames filtered(const std::function<bool(const QString &)> &keep) const;
    // Whether both hold the very same names object, not just equal names.
    bool sharesWith(const FileNames &other) const { return m_data == other.m_data; }

private:
    struct Data
    {
        QByteArray bytes;
        std::vector<qsizetype> ends;
    };
    std::shared_ptr<const Data> m_data; // null for no names
};
