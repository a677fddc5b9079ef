#include "BenchDriver.h"

#include "BenchCases.h"
#include "BenchTools.h"
#include "Fixtures.h"
#include "MachineInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A case that takes longer than this is stopped and reported as failed.
constexpr int childTimeoutMs = 240 * 1000;

void say(const QString &text)
{
    std::fprintf(stdout, "%s\n", qPrintable(text));
    std::fflush(stdout);
}

void progress(const QString &text)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(text));
}

BenchResult failed(const QString &name, const QString &error)
{
    BenchResult result;
    result.name = name;
    result.error = error;
    return result;
}

} // namespace

BenchDriver::BenchDriver(const Options &options)
    : m_options(options)
{
}

int BenchDriver::run()
{
    QList<const BenchCase *> chosen;
    for (const BenchCase &benchCase : benchCases()) {
        if (m_options.cases.isEmpty() || m_options.cases.contains(benchCase.name))
            chosen.append(&benchCase);
    }
    for (const QString &name : m_options.cases) {
        if (!findBenchCase(name)) {
            progress(QStringLiteral("no case named %1").arg(name));
            return 2;
        }
    }

    QTemporaryDir temporary(QDir::tempPath() + QStringLiteral("/panoptra-bench-XXXXXX"));
    QString root = m_options.fixtureRoot;
    if (root.isEmpty()) {
        if (!temporary.isValid()) {
            progress(QStringLiteral("cannot create a temporary folder"));
            return 1;
        }
        root = temporary.path();
    } else if (!QDir().mkpath(root)) {
        progress(QStringLiteral("cannot create %1").arg(root));
        return 1;
    }

    const QJsonObject machine = MachineInfo::describe(root);
    say(MachineInfo::summary(machine));

    QJsonArray results;
    bool allMeasured = true;
    for (const BenchCase *benchCase : chosen) {
        const BenchResult result = runInChild(*benchCase, root);
        allMeasured = allMeasured && result.error.isEmpty();
        say(result.line());
        for (const QString &note : result.notes)
            say(QStringLiteral("  note: ") + note);
        results.append(result.toJson());
    }

    if (!m_options.jsonPath.isEmpty()) {
        QSaveFile json(m_options.jsonPath);
        const QJsonObject report{{QStringLiteral("machine"), machine}, {QStringLiteral("cases"), results}};
        if (!json.open(QIODevice::WriteOnly) || json.write(QJsonDocument(report).toJson()) < 0 || !json.commit()) {
            progress(QStringLiteral("cannot write %1").arg(m_options.jsonPath));
            return 1;
        }
    }
    return allMeasured ? 0 : 1;
}

BenchResult BenchDriver::runInChild(const BenchCase &benchCase, const QString &root)
{
    // Fixtures are made here, untimed, and shared by the cases that need them.
    const Fixtures fixtures(root);
    progress(QStringLiteral("%1: preparing fixtures in %2").arg(benchCase.name, root));
    for (const auto make : benchCase.fixtures) {
        if (const QString error = (fixtures.*make)(); !error.isEmpty())
            return failed(benchCase.name, error);
    }

    const int runs = m_options.runs > 0 ? m_options.runs : benchCase.runs;
    progress(QStringLiteral("%1: %2 runs of each side").arg(benchCase.name).arg(runs));
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Qt wants a private runtime folder; without one it warns on every start.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
        const QString runtime = root + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    }
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), benchCase.name, QStringLiteral("--fixtures"), root,
                 QStringLiteral("--runs"), QString::number(runs)});
    if (!child.waitForFinished(childTimeoutMs)) {
        child.kill();
        child.waitForFinished();
        return failed(benchCase.name, QStringLiteral("did not finish within %1 s").arg(childTimeoutMs / 1000));
    }
    const QByteArray output = child.readAllStandardOutput().trimmed();
    const QJsonDocument document = QJsonDocument::fromJson(output.mid(output.lastIndexOf('\n') + 1));
    if (child.exitStatus() != QProcess::NormalExit || !document.isObject())
        return failed(benchCase.name, QStringLiteral("the measuring process ended without a result"));
    BenchResult result = BenchResult::fromJson(document.object());
    result.targetRatio = benchCase.targetRatio;
    result.peakTargetMiB = benchCase.peakTargetMiB;
    return result;
}

int BenchDriver::runChild(const QString &caseName, const QString &root, int runs)
{
    const BenchCase *benchCase = findBenchCase(caseName);
    if (!benchCase)
        return 2;
    BenchResult result = benchCase->run(Fixtures(root), runs);
    result.name = caseName;
    say(QString::fromUtf8(QJsonDocument(result.toJson()).toJson(QJsonDocument::Compact)));
    return 0;
}
