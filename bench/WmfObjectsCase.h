#pragma once

#include "BenchResult.h"

class Fixtures;

// wmf-objects: a metafile that creates 65,535 objects and deletes them again, every slot of its
// object table taken before the first is freed. Ours plays it (the viewer's drawing of a loaded
// metafile, into a 1000 x 1000 image); the baseline is a plain loop over the same records that
// only reads them (size, function and every parameter word). The notes give the load, which
// checks the file and measures its work before it is shown.
namespace WmfObjectsCase {

BenchResult run(const Fixtures &fixtures, int runs);

} // namespace WmfObjectsCase
