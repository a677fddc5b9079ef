#pragma once

#include "search/DeepSearch.h"
#include "search/Dig.h"
#include "search/ResultList.h"
#include "search/ResultListModel.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

// The search window as File > "Search " opens it, over real files: by default the walk yields
// and shows what it found after every entry, and Stop Search waits no time; every message box
// is answered with OK.
struct DigFixture
{
    explicit DigFixture(const DigTiming &timing = DigTiming{0, 0, 0}, ResultLinks links = ResultLinks(),
                        SearchFolderRead read = SearchFolderRead())
        : search(test.services(), timing, std::move(links), std::move(read))
    {
        test.dialogs.acceptAllMessages();
        search.mnuSearchFor_Click();
    }

    Dig &dig() { return *search.window().get(); }

    // Types the texts, sets the box and presses Start Search, then lets the window's events run
    // until every search is over.
    void start(const QString &path, const QString &pattern, bool subfolders)
    {
        press(path, pattern, subfolders);
        waitUntilIdle();
    }
    // The same without waiting: Start Search returns at once.
    void press(const QString &path, const QString &pattern, bool subfolders)
    {
        dig().txtvalue()->setText(path);
        dig().textval()->setText(pattern);
        dig().Check1()->setChecked(subfolders);
        dig().Command2_Click();
    }
    // Runs the event loop until no search and no wait of Stop Search goes on, or the program
    // began to end (nothing then wakes a walk that waits for a read).
    void waitUntilIdle(int timeoutMs = 60 * 1000)
    {
        if (!dig().isBusy())
            return;
        QEventLoop loop;
        QObject::connect(&dig(), &Dig::idle, &loop, &QEventLoop::quit);
        QTimer ending;
        QObject::connect(&ending, &QTimer::timeout, &loop, [&] {
            if (test.programEnd.isEnding())
                loop.quit();
        });
        ending.start(10);
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // The result list's entries, each without the tree's folder in front.
    QStringList listed(const TestDir &tree) { return relative(tree, entries()); }
    QStringList entries()
    {
        QStringList paths;
        for (int i = 0; i < dig().List1()->count(); ++i)
            paths << dig().List1()->entry(i);
        return paths;
    }
    static QStringList relative(const TestDir &tree, const QStringList &paths)
    {
        QStringList names;
        for (const QString &path : paths)
            names << (path.startsWith(tree.path() + QLatin1Char('/')) ? path.mid(tree.path().size() + 1) : path);
        return names;
    }

    QStringList messages() const { return test.dialogs.messageTexts(); }

    // Runs command once, during the walk's first yield after the list holds rows results.
    void duringWalk(int rows, std::function<void()> command)
    {
        QObject::connect(&dig().List1()->results(), &QAbstractItemModel::rowsInserted, &dig(),
                         [this, rows, command, done = std::make_shared<bool>(false)] {
                             if (*done || dig().List1()->count() < rows)
                                 return;
                             *done = true;
                             QTimer::singleShot(0, &dig(), command);
                         });
    }

    TestServices test;
    DeepSearch search;
};
