#include "folders/FolderReadCache.h"

#include "folders/FolderReader.h"
#include "folders/FolderWatch.h"
#include "folders/NamePattern.h"

#include <algorithm>
#include <utility>

FolderReadCache::FolderReadCache(int capacity)
    : m_capacity(std::max(1, capacity)), m_spare(std::make_unique<FolderWatch>())
{
}

FolderReadCache::~FolderReadCache() = default;

FolderReadCache::Step::Step(FolderReadCache &cache) : m_cache(cache)
{
    if (m_cache.m_stepDepth++ == 0)
        ++m_cache.m_step;
}

FolderReadCache::Step::~Step()
{
    --m_cache.m_stepDepth;
}

FolderReadCache::Listing &FolderReadCache::listingOf(const QString &path)
{
    for (auto it = m_listings.begin(); it != m_listings.end(); ++it) {
        if (it->path == path) {
            m_listings.splice(m_listings.begin(), m_listings, it);
            return m_listings.front();
        }
    }
    if (int(m_listings.size()) >= m_capacity)
        m_listings.pop_back();
    Listing &listing = m_listings.emplace_front();
    listing.path = path;
    listing.watch = std::make_unique<FolderWatch>();
    return listing;
}

bool FolderReadCache::readInThisStep(const Listing &listing) const
{
    return m_stepDepth > 0 && listing.step == m_step;
}

bool FolderReadCache::isCurrent(Listing &listing) const
{
    return readInThisStep(listing) || !listing.watch->mayHaveChanged(listing.path);
}

template <typename Read>
void FolderReadCache::reread(Listing &listing, Read read)
{
    // The new read starts its own watch; only then does the old one tell whether anything
    // changed since the earlier reads, so no change falls between the two watches.
    read(*m_spare);
    const bool trusted = !listing.watch->mayHaveChanged(listing.path);
    const bool sameStep = readInThisStep(listing);
    const bool held = listing.folders || listing.allFiles || !listing.matching.empty();
    if (!trusted && !sameStep) {
        listing.folders.reset();
        listing.allFiles.reset();
        listing.matching.clear();
    }
    std::swap(listing.watch, m_spare);
    // What the step kept without the watch's trust must not outlast the step.
    if (!trusted && sameStep && held)
        listing.watch->distrust();
    listing.step = m_stepDepth > 0 ? m_step : 0;
}

QStringList FolderReadCache::folders(const QString &path)
{
    if (path.isEmpty())
        return {};
    Listing &listing = listingOf(path);
    if (!listing.folders || !isCurrent(listing)) {
        QStringList read;
        reread(listing, [&](FolderWatch &watch) { read = FolderReader::folderNames(path, &watch); });
        listing.folders = std::move(read);
    }
    return *listing.folders;
}

QStringList FolderReadCache::openFolder(const QString &path)
{
    if (path.isEmpty())
        return {};
    Listing &listing = listingOf(path);
    if (!listing.folders || !listing.allFiles || !isCurrent(listing)) {
        FolderReader::Contents read;
        reread(listing, [&](FolderWatch &watch) { read = FolderReader::contents(path, &watch); });
        listing.folders = std::move(read.folders);
        listing.allFiles = std::move(read.files);
    }
    return *listing.folders;
}

FileNames FolderReadCache::files(const QString &path, const NamePattern &pattern)
{
    if (path.isEmpty())
        return {};
    Listing &listing = listingOf(path);
    const bool current = isCurrent(listing);
    if (pattern.matchesEverything()) {
        if (!listing.allFiles || !current) {
            FileNames read;
            reread(listing, [&](FolderWatch &watch) { read = FolderReader::fileNames(path, pattern, &watch); });
            listing.allFiles = std::move(read);
        }
        return *listing.allFiles;
    }
    if (current) {
        if (const auto found = listing.matching.find(pattern.text()); found != listing.matching.end())
            return found->second;
        if (listing.allFiles) {
            const FileNames kept = listing.allFiles->filtered([&](const QString &name) { return pattern.matches(name); });
            return listing.matching[pattern.text()] = kept;
        }
    }
    FileNames read;
    reread(listing, [&](FolderWatch &watch) { read = FolderReader::fileNames(path, pattern, &watch); });
    return listing.matching[pattern.text()] = read;
}
