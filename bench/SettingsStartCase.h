#pragma once

#include "BenchResult.h"

class Fixtures;

// settings-start: the 43 reads of the settings store at a start (three colours, then the names
// of the 40 user link slots, through ColorStore and UserLinkSlots as Form1's load does them) on a
// fresh store over a 4 MiB settings file written by QSettings; every link has a long address.
// Baseline: one read() of the whole file.
namespace SettingsStartCase {

BenchResult run(const Fixtures &fixtures, int runs);

} // namespace SettingsStartCase
