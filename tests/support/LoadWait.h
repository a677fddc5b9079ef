#pragma once

#include <QString>
#include <QTest>

#include <memory>
#include <optional>

// Loads path through loader (the editor, or its window), whose load ends after the call, and
// runs the events until it has ended: whether the file is in; false too when it has not ended
// within timeoutMs.
template <typename Loader>
bool loadAndWait(Loader &loader, const QString &path, int timeoutMs = 30'000)
{
    // Shared with the load, which may end after a wait that gave up.
    const auto loaded = std::make_shared<std::optional<bool>>();
    loader.LoadTextFile(path, [loaded](bool ok) { *loaded = ok; });
    if (!QTest::qWaitFor([&loaded] { return loaded->has_value(); }, timeoutMs))
        return false;
    return loaded->value_or(false);
}
