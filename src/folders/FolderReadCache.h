#pragma once

#include "folders/FileNames.h"

#include <QString>
#include <QStringList>

#include <list>
#include <map>
#include <memory>
#include <optional>

class FolderWatch;
class NamePattern;

// Decides, for every list that shows a folder, whether the folder must be read again or what an
// earlier read gave still serves: the panes often show one folder in several lists, and a folder
// of 100,000 entries should be read once, not once per list. What a read gave serves as long as
// the folder's watch trusts it (see FolderWatch), and within one step (see Step) whatever a read
// of that step gave serves every list of the step. The lists hold the names they show; the
// cache keeps only the last read of a few recently used folders.
class FolderReadCache
{
public:
    // capacity: how many folders are kept (each with a watch of its own).
    explicit FolderReadCache(int capacity = 10);
    ~FolderReadCache();
    FolderReadCache(const FolderReadCache &) = delete;
    FolderReadCache &operator=(const FolderReadCache &) = delete;

    // One event step (opening a folder, refreshing the panes): nothing else changes the folders
    // meanwhile, so a read within it serves the step's later lists even where the watch trusts
    // nothing (network file systems, links). Steps nest; the outermost one ends it.
    class Step
    {
    public:
        explicit Step(FolderReadCache &cache);
        ~Step();
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        FolderReadCache &m_cache;
    };

    // The subfolders of path, sorted (a refresh of a folder list).
    QStringList folders(const QString &path);
    // The same for a folder list that opens path: a read takes the files along in the same pass,
    // for the file list that follows.
    QStringList openFolder(const QString &path);
    // The regular files of path whose names match pattern, sorted.
    FileNames files(const QString &path, const NamePattern &pattern);

private:
    struct Listing
    {
        QString path;
        std::unique_ptr<FolderWatch> watch; // started before the reads of everything held
        quint64 step = 0;                   // the step of the last read; 0: none
        std::optional<QStringList> folders;
        std::optional<FileNames> allFiles;
        std::map<QString, FileNames> matching; // by pattern text, for patterns that keep fewer
    };

    Listing &listingOf(const QString &path);
    // Whether listing was read in the step that is running.
    bool readInThisStep(const Listing &listing) const;
    // Whether what listing holds is what a read now would give.
    bool isCurrent(Listing &listing) const;
    // Reads listing's folder with read (given the watch to start), keeping what listing held
    // before only while that is still current.
    template <typename Read>
    void reread(Listing &listing, Read read);

    int m_capacity;
    std::list<Listing> m_listings; // the most recently used first
    std::unique_ptr<FolderWatch> m_spare; // the watch of the next read
    int m_stepDepth = 0;
    quint64 m_step = 0;
};
