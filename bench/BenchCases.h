#pragma once

#include "BenchResult.h"
#include "Fixtures.h"

#include <QList>
#include <QString>

#include <optional>

// One benchmark: its name, how often it runs, what it must reach, the fixtures it needs and
// the function that measures it (in a process of its own, see BenchDriver).
struct BenchCase
{
    QString name;
    int runs;
    std::optional<double> targetRatio;
    std::optional<double> peakTargetMiB;
    QList<QString (Fixtures::*)() const> fixtures;
    BenchResult (*run)(const Fixtures &fixtures, int runs);
};

// The cases, in the order they run.
const QList<BenchCase> &benchCases();
const BenchCase *findBenchCase(const QString &name);
