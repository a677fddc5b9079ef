// panoptra-bench: the speed and memory figures of the file lists and the file copy, each set
// against what the operating system itself needs for the same work. See README.md.

#include "BenchDriver.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstring>
#include <memory>

namespace {

bool isChild(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--child") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // The measuring child shows real widgets, always without a display; the driver needs none.
    std::unique_ptr<QCoreApplication> app;
    if (isChild(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs the benchmarks against their baselines."));
    parser.addHelpOption();
    const QCommandLineOption caseOption(QStringLiteral("case"), QStringLiteral("Run only this case (repeatable)."),
                                        QStringLiteral("name"));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Timed runs of each side."),
                                        QStringLiteral("n"));
    const QCommandLineOption fixturesOption(
        QStringLiteral("fixtures"), QStringLiteral("Make (or reuse) the fixtures here and keep them."),
        QStringLiteral("folder"));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Write the figures here as JSON."),
                                        QStringLiteral("file"));
    const QCommandLineOption childOption(QStringLiteral("child"), QStringLiteral("(internal) Measure one case."),
                                         QStringLiteral("name"));
    parser.addOptions({caseOption, runsOption, fixturesOption, jsonOption, childOption});
    parser.process(*app);

    const int runs = parser.value(runsOption).toInt();
    if (parser.isSet(childOption))
        return BenchDriver::runChild(parser.value(childOption), parser.value(fixturesOption), runs);

    BenchDriver::Options options;
    options.cases = parser.values(caseOption);
    options.runs = runs;
    options.fixtureRoot = parser.value(fixturesOption);
    options.jsonPath = parser.value(jsonOption);
    return BenchDriver(options).run();
}
