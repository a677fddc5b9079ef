#pragma once

#include <QByteArray>

#include <string>
#include <vector>

// What the operating system itself needs for the work a case measures: the floor each case's
// time is divided by.
namespace Baseline {

// readdir of folder: the names of its regular files (no dot-files) that match pattern
// (fnmatch without regard to case; "" for every name), sorted without regard to case.
std::vector<std::string> sortedFileNames(const QByteArray &folder, const QByteArray &pattern);

// readdir of folder: the names of its subfolders (no dot-folders), in the order read.
std::vector<std::string> folderNames(const QByteArray &folder);

// A plain walk of folder and every folder below it: readdir, one folder at a time, depth first;
// the full paths of the regular files (no dot-entries) that match pattern (fnmatch without
// regard to case), in the order read.
std::vector<std::string> walkMatching(const QByteArray &folder, const QByteArray &pattern);

} // namespace Baseline
