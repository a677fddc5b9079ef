#include "BenchResult.h"

#include "BenchTools.h"

#include <QJsonArray>

#include <algorithm>

namespace {

QJsonArray toArray(const QList<double> &values)
{
    QJsonArray array;
    for (double value : values)
        array.append(value);
    return array;
}

QList<double> fromArray(const QJsonValue &value)
{
    QList<double> values;
    for (const QJsonValue &item : value.toArray())
        values.append(item.toDouble());
    return values;
}

std::optional<double> optionalNumber(const QJsonObject &object, const QString &key)
{
    if (!object.contains(key))
        return std::nullopt;
    return object.value(key).toDouble();
}

void putOptional(QJsonObject &object, const QString &key, const std::optional<double> &value)
{
    if (value)
        object.insert(key, *value);
}

QString number(double value)
{
    return QString::number(value, 'f', value < 10.0 ? 2 : 1);
}

} // namespace

double BenchResult::oursMedian() const
{
    return BenchTools::median(oursMs);
}

double BenchResult::baselineMedian() const
{
    return BenchTools::median(baselineMs);
}

double BenchResult::ratio() const
{
    const double baseline = baselineMedian();
    return baseline > 0.0 ? oursMedian() / baseline : 0.0;
}

bool BenchResult::met() const
{
    if (!error.isEmpty())
        return false;
    if (targetRatio && ratio() > *targetRatio)
        return false;
    if (longestGapMs && gapTargetMs && *longestGapMs > *gapTargetMs)
        return false;
    if (!std::all_of(bounds.begin(), bounds.end(), [](const BenchBound &bound) { return bound.met(); }))
        return false;
    return !(peakMiB && peakTargetMiB && *peakMiB > *peakTargetMiB);
}

QString BenchResult::line() const
{
    if (!error.isEmpty())
        return QStringLiteral("%1: FAILED: %2").arg(name, error);
    QString text = QStringLiteral("%1: ours %2 ms, baseline %3 ms, ratio %4")
                       .arg(name, number(oursMedian()), number(baselineMedian()),
                            QString::number(ratio(), 'f', 2));
    if (peakMiB)
        text += QStringLiteral(", peak memory %1 MiB").arg(QString::number(*peakMiB, 'f', 1));
    if (longestGapMs)
        text += QStringLiteral(", longest gap %1 ms").arg(number(*longestGapMs));
    for (const BenchBound &bound : bounds)
        text += QStringLiteral(", %1 %2 %3").arg(bound.what, number(bound.value), bound.unit);
    QStringList targets;
    if (targetRatio)
        targets.append(QStringLiteral("ratio <= %1").arg(*targetRatio));
    if (peakTargetMiB)
        targets.append(QStringLiteral("memory < %1 MiB").arg(*peakTargetMiB));
    if (gapTargetMs)
        targets.append(QStringLiteral("gap <= %1 ms").arg(*gapTargetMs));
    for (const BenchBound &bound : bounds)
        targets.append(QStringLiteral("%1 <= %2 %3").arg(bound.what, number(bound.limit), bound.unit));
    if (!targets.isEmpty())
        text += QStringLiteral("  [target %1: %2]")
                    .arg(targets.join(QStringLiteral(", ")),
                         met() ? QStringLiteral("met") : QStringLiteral("MISSED"));
    return text;
}

QJsonObject BenchResult::toJson() const
{
    QJsonObject object{{QStringLiteral("name"), name}};
    if (!error.isEmpty()) {
        object.insert(QStringLiteral("error"), error);
    } else {
        object.insert(QStringLiteral("oursMs"), oursMedian());
        object.insert(QStringLiteral("baselineMs"), baselineMedian());
        object.insert(QStringLiteral("ratio"), ratio());
    }
    object.insert(QStringLiteral("oursRunsMs"), toArray(oursMs));
    object.insert(QStringLiteral("baselineRunsMs"), toArray(baselineMs));
    putOptional(object, QStringLiteral("targetRatio"), targetRatio);
    putOptional(object, QStringLiteral("peakMiB"), peakMiB);
    putOptional(object, QStringLiteral("peakTargetMiB"), peakTargetMiB);
    putOptional(object, QStringLiteral("longestGapMs"), longestGapMs);
    putOptional(object, QStringLiteral("gapTargetMs"), gapTargetMs);
    QJsonArray boundsArray;
    for (const BenchBound &bound : bounds)
        boundsArray.append(QJsonObject{{QStringLiteral("what"), bound.what}, {QStringLiteral("value"), bound.value},
                                       {QStringLiteral("limit"), bound.limit}, {QStringLiteral("unit"), bound.unit}});
    if (!bounds.isEmpty())
        object.insert(QStringLiteral("bounds"), boundsArray);
    object.insert(QStringLiteral("met"), met());
    if (!notes.isEmpty())
        object.insert(QStringLiteral("notes"), QJsonArray::fromStringList(notes));
    return object;
}

BenchResult BenchResult::fromJson(const QJsonObject &object)
{
    BenchResult result;
    result.name = object.value(QStringLiteral("name")).toString();
    result.error = object.value(QStringLiteral("error")).toString();
    result.oursMs = fromArray(object.value(QStringLiteral("oursRunsMs")));
    result.baselineMs = fromArray(object.value(QStringLiteral("baselineRunsMs")));
    result.targetRatio = optionalNumber(object, QStringLiteral("targetRatio"));
    result.peakMiB = optionalNumber(object, QStringLiteral("peakMiB"));
    result.peakTargetMiB = optionalNumber(object, QStringLiteral("peakTargetMiB"));
    result.longestGapMs = optionalNumber(object, QStringLiteral("longestGapMs"));
    result.gapTargetMs = optionalNumber(object, QStringLiteral("gapTargetMs"));
    for (const QJsonValue &item : object.value(QStringLiteral("bounds")).toArray()) {
        const QJsonObject bound = item.toObject();
        result.bounds.append({bound.value(QStringLiteral("what")).toString(), bound.value(QStringLiteral("value")).toDouble(),
                              bound.value(QStringLiteral("limit")).toDouble(), bound.value(QStringLiteral("unit")).toString()});
    }
    for (const QJsonValue &note : object.value(QStringLiteral("notes")).toArray())
        result.notes.append(note.toString());
    return result;
}
