#include "EditorFindCase.h"

#include "BenchTools.h"
#include "editor/FindEngine.h"

#include <cstring>

namespace EditorFindCase {

BenchResult run(const Fixtures &, int runs)
{
    BenchResult result;
    const QString text(600000, QLatin1Char('a'));
    const QString what = QString(100000, QLatin1Char('a')) + QLatin1Char('b');
    const FindState state{what, false, 0, 0, true};

    const auto ours = [&] { return FindEngine::nextMatch(text, text.size(), state).value_or(-1); };
    const auto baseline = [&]() -> qsizetype {
        const void *found = ::memmem(text.constData(), size_t(text.size()) * sizeof(QChar), what.constData(),
                                     size_t(what.size()) * sizeof(QChar));
        return found ? (static_cast<const char *>(found) - reinterpret_cast<const char *>(text.constData())) : -1;
    };

    // One untimed run of each warms the caches and checks that both find nothing.
    if (ours() != -1 || baseline() != -1) {
        result.error = QStringLiteral("a find text that is not in the text was found");
        return result;
    }
    for (int run = 0; run < runs; ++run) {
        for (int side = 0; side < 2; ++side) {
            const bool oursFirst = (run + side) % 2 == 0;
            QElapsedTimer timer;
            timer.start();
            const qsizetype found = oursFirst ? ours() : baseline();
            (oursFirst ? result.oursMs : result.baselineMs).append(BenchTools::elapsedMs(timer));
            if (found != -1)
                result.error = QStringLiteral("a find text that is not in the text was found");
        }
    }
    return result;
}

} // namespace EditorFindCase
