#include "Baseline.h"

#include <algorithm>
#include <dirent.h>
#include <fnmatch.h>
#include <strings.h>

namespace {

// Calls take(entry) for each entry of folder that is not a dot-entry.
template<typename Take>
void readFolder(const QByteArray &folder, Take take)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.')
            take(*entry);
    }
    ::closedir(dir);
}

} // namespace

namespace Baseline {

std::vector<std::string> sortedFileNames(const QByteArray &folder, const QByteArray &pattern)
{
    std::vector<std::string> names;
    readFolder(folder, [&](const dirent &entry) {
        if (entry.d_type != DT_REG)
            return;
        if (!pattern.isEmpty() && ::fnmatch(pattern.constData(), entry.d_name, FNM_CASEFOLD) != 0)
            return;
        names.emplace_back(entry.d_name);
    });
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return ::strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

std::vector<std::string> walkMatching(const QByteArray &folder, const QByteArray &pattern)
{
    std::vector<std::string> found;
    std::vector<std::string> pending{folder.toStdString()};
    while (!pending.empty()) {
        const std::string path = std::move(pending.back());
        pending.pop_back();
        readFolder(QByteArray::fromStdString(path), [&](const dirent &entry) {
            if (entry.d_type == DT_DIR)
                pending.push_back(path + '/' + entry.d_name);
            else if (entry.d_type == DT_REG && ::fnmatch(pattern.constData(), entry.d_name, FNM_CASEFOLD) == 0)
                found.push_back(path + '/' + entry.d_name);
        });
    }
    return found;
}

std::vector<std::string> folderNames(const QByteArray &folder)
{
    std::vector<std::string> names;
    readFolder(folder, [&](const dirent &entry) {
        if (entry.d_type == DT_DIR)
            names.emplace_back(entry.d_name);
    });
    return names;
}

} // namespace Baseline
