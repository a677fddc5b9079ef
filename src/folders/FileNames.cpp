#include "folders/FileNames.h"

#include "platform/PathCodec.h"

FileNames::FileNames() = default;

FileNames::FileNames(QByteArray bytes, std::vector<qsizetype> ends)
{
    if (!ends.empty())
        m_data = std::make_shared<const Data>(Data{std::move(bytes), std::move(ends)});
}

QByteArrayView FileNames::bytes(qsizetype i) const
{
    if (i < 0 || i >= size())
        return QByteArrayView();
    const qsizetype start = i == 0 ? 0 : m_data->ends[size_t(i - 1)];
    return QByteArrayView(m_data->bytes.constData() + start, m_data->ends[size_t(i)] - start);
}

QString FileNames::at(qsizetype i) const
{
    const QByteArrayView name = bytes(i);
    return PathCodec::decode(name.data(), name.size());
}

QStringList FileNames::toStringList() const
{
    QStringList names;
    names.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        names.append(at(i));
    return names;
}

FileNames FileNames::filtered(const std::function<bool(const QString &)> &keep) const
{
    QByteArray bytes;
    std::vector<qsizetype> ends;
    for (qsizetype i = 0; i < size(); ++i) {
        if (!keep(at(i)))
            continue;
        const QByteArrayView name = this->bytes(i);
        bytes.append(name);
        ends.push_back(bytes.size());
    }
    if (qsizetype(ends.size()) == size())
        return *this;
    return FileNames(std::move(bytes), std::move(ends));
}
