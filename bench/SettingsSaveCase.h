#pragma once

#include "BenchResult.h"

class Fixtures;

// settings-save-100m: one colour saved through a running program's store (one that has read
// the file already) into a 110 MB settings file: the colours and 40 links, then two million
// short values of another program. Baseline: one safe write of the same bytes (a temporary file
// beside it, written, fsync'ed and renamed over a copy). Notes: the time of one parse of the
// file, and the same save into a 100 MB file of 40 links whose addresses are 2.5 MB each.
namespace SettingsSaveCase {

BenchResult run(const Fixtures &fixtures, int runs);

} // namespace SettingsSaveCase
