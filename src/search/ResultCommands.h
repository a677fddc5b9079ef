#pragma once

#include <QPoint>
#include <QStringList>

#include <functional>

class QMenu;
class ResultList;
class SearchCopy;
class TextLoader;
struct Services;

// What the search window's result commands reach outside the search. The application hands
// these in; with none, Copy and View Text do nothing and the pop-up shows as a plain menu.
struct ResultLinks
{
    SearchCopy *batch = nullptr;
    TextLoader *editor = nullptr;
    // Shows a pop-up menu at a screen position and returns once its chosen command has run.
    std::function<void(QMenu *, const QPoint &)> popup;
};

// The commands of the search window that act on its result list: Copy, Run, Print, Select all
// and View Text. Each reads the list at the moment it runs, also during a walk's yield.
class ResultCommands
{
public:
    ResultCommands(ResultList &list, const QStringList &mirror, Services &services, ResultLinks links);

    // The endings that make Run start a result, in test order.
    static const QStringList &programEndings();
    // The endings that make View Text open a result in the editor, in test order.
    static QStringList textEndings();

    void Copy();
    void Run();
    void Print();
    void SelectAll();
    void ViewText();
    // A mouse button released over the result list: the right one shows menu there.
    void mouseReleased(Qt::MouseButton button, QMenu *menu, const QPoint &globalPos);

private:
    ResultList &m_list;
    const QStringList &m_mirror;
    Services &m_services;
    ResultLinks m_links;
};
