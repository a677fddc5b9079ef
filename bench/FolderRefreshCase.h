#pragma once

#include "BenchResult.h"

class Fixtures;

// folder-refresh-5: a folder change in pane 1 (PaneBoard::folderChange) while all five panes
// show a folder of 10,000 subfolders: pane 1's file list re-reads it and the other four folder
// lists refresh; timed until those four have painted. Baseline: one readdir of that folder.
namespace FolderRefreshCase {

BenchResult run(const Fixtures &fixtures, int runs);
// The same after another program changed the folder, so that every list reads it again.
BenchResult runChanged(const Fixtures &fixtures, int runs);

} // namespace FolderRefreshCase
