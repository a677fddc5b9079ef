#include "BenchCases.h"

#include "CopyCase.h"
#include "EditorCase.h"
#include "EditorEditCase.h"
#include "EditorFindCase.h"
#include "EditorSaveCase.h"
#include "FolderRefreshCase.h"
#include "PaneOpenCase.h"
#include "StartCase.h"
#include "SearchTreeCase.h"
#include "SettingsSaveCase.h"
#include "SettingsStartCase.h"
#include "WmfObjectsCase.h"

const QList<BenchCase> &benchCases()
{
    static const QList<BenchCase> cases = {
        {QStringLiteral("pane-open-100k"), 7, 2.0, 100.0, {&Fixtures::makeManyFiles, &Fixtures::makeEmptyFolder},
         &PaneOpenCase::runAll},
        {QStringLiteral("pane-open-100k-pattern"), 7, std::nullopt, std::nullopt,
         {&Fixtures::makeManyFiles, &Fixtures::makeEmptyFolder}, &PaneOpenCase::runPattern},
        {QStringLiteral("copy-1g"), 5, 1.25, std::nullopt, {&Fixtures::makeBigFile}, &CopyCase::run},
        {QStringLiteral("folder-refresh-5"), 11, 5.0, std::nullopt, {&Fixtures::makeManyFolders},
         &FolderRefreshCase::run},
        {QStringLiteral("folder-refresh-5-changed"), 11, 5.0, std::nullopt, {&Fixtures::makeManyFolders},
         &FolderRefreshCase::runChanged},
        {QStringLiteral("start-100k"), 7, 2.0, 60.0, {&Fixtures::makeManyFiles}, &StartCase::run},
        {QStringLiteral("search-tree"), 5, 1.5, std::nullopt, {&Fixtures::makeSearchTree}, &SearchTreeCase::run},
        {QStringLiteral("search-flat-1m"), 3, std::nullopt, std::nullopt, {&Fixtures::makeFlatFolder},
         &SearchTreeCase::runFlat},
        {QStringLiteral("editor-find-up"), 11, std::nullopt, std::nullopt, {}, &EditorFindCase::run},
        // Memory: under three times the file's size.
        {QStringLiteral("editor-open-59m"), 5, std::nullopt, 3.0 * double(Fixtures::bigLogBytes) / double(1 << 20),
         {&Fixtures::makeBigLog}, &EditorCase::runOpen},
        {QStringLiteral("editor-long-line"), 5, std::nullopt, std::nullopt,
         {&Fixtures::makeHexLine, &Fixtures::makeLongHexLines, &Fixtures::makeMarkLine},
         &EditorCase::runLongLine},
        {QStringLiteral("editor-save-59m"), 5, 2.0, std::nullopt, {&Fixtures::makeBigLog}, &EditorSaveCase::run},
        {QStringLiteral("editor-edit-4m"), 11, 2.0, std::nullopt, {&Fixtures::makeManyLines}, &EditorEditCase::run},
        {QStringLiteral("settings-start"), 21, 3.0, std::nullopt, {}, &SettingsStartCase::run},
        {QStringLiteral("settings-save-100m"), 7, 2.0, std::nullopt, {}, &SettingsSaveCase::run},
        {QStringLiteral("wmf-objects"), 21, 5.0, std::nullopt, {}, &WmfObjectsCase::run},
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
