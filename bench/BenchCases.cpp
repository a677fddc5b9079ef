#include "BenchCases.h"

#include "CopyCase.h"

const QList<BenchCase> &benchCases()
{
    static const QList<BenchCase> cases = {
        {QStringLiteral("copy-1g"), 5, 1.25, std::nullopt, {&Fixtures::makeBigFile}, &CopyCase::run},
    };
    return cases;
}

const BenchCase *findBenchCase(const QString &name)
{
    for (const BenchCase &benchCase : benchCases()) {
        if (benchCase.name == name)
            return &benchCase;
    }
    return nullptr;
}
