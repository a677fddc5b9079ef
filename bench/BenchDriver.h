#pragma once

#include "BenchResult.h"

#include <QString>
#include <QStringList>

struct BenchCase;

// Runs the chosen cases, each in a child process of this program, so that one case's memory
// and threads never reach another's figures, and writes the report.
class BenchDriver
{
public:
    struct Options
    {
        QStringList cases;      // empty: all
        int runs = 0;           // 0: each case's own count
        QString fixtureRoot;    // empty: a temporary folder, removed at the end
        QString jsonPath;       // empty: no JSON file
    };

    explicit BenchDriver(const Options &options);

    // 0 when every case measured (targets met or not), 1 when a case failed, 2 on bad options.
    int run();

    // In the child: measures one case on the fixtures under root and prints its JSON.
    static int runChild(const QString &caseName, const QString &root, int runs);

private:
    BenchResult runInChild(const BenchCase &benchCase, const QString &root);

    Options m_options;
};
