#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A figure a case holds to a limit of its own: a time, a processor time, a memory size.
struct BenchBound
{
    QString what;
    double value = 0.0;
    double limit = 0.0;
    QString unit;

    bool met() const { return value <= limit; }
};

// The timings of one case: every run of ours and of the baseline, in milliseconds, and what
// else the case measured. A case that could not measure sets error.
struct BenchResult
{
    QString name;
    QList<double> oursMs;
    QList<double> baselineMs;
    // Highest ratio ours/baseline the program is meant to reach, where there is a target.
    std::optional<double> targetRatio;
    // Peak resident memory of the process that ran the case, in MiB, where the case reports it.
    std::optional<double> peakMiB;
    std::optional<double> peakTargetMiB;
    // The longest time the window went without answering events, where the case measures it.
    std::optional<double> longestGapMs;
    std::optional<double> gapTargetMs;
    QList<BenchBound> bounds;
    QStringList notes;
    QString error;

    double oursMedian() const;
    double baselineMedian() const;
    double ratio() const;
    // False when a target is missed or the case failed.
    bool met() const;

    // "name: ours 12.3 ms, baseline 4.5 ms, ratio 2.73" and what follows it.
    QString line() const;
    QJsonObject toJson() const;
    static BenchResult fromJson(const QJsonObject &object);
};
