#include "search/ResultCommands.h"

#include "links/SearchCopy.h"
#include "links/TextLoader.h"
#include "platform/EventWaits.h"
#include "platform/Launchers.h"
#include "platform/OpenEndings.h"
#include "platform/PathHelper.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Printer.h"
#include "platform/ui/Services.h"
#include "search/ResultList.h"
#include "search/ResultListModel.h"
#include "search/ResultPrint.h"
#include "search/SearchMessages.h"

#include <QMenu>
#include <QPrinter>

ResultCommands::ResultCommands(ResultList &list, const QStringList &mirror, Services &services, ResultLinks links)
    : m_list(list), m_mirror(mirror), m_services(services), m_links(std::move(links))
{
}

const QStringList &ResultCommands::programEndings()
{
    static const QStringList endings{
        QStringLiteral("SCR"), QStringLiteral("Scr"), QStringLiteral("scr"), QStringLiteral("Sys"),
        QStringLiteral("sys"), QStringLiteral("SYS"), QStringLiteral("BAT"), QStringLiteral("Bat"),
        QStringLiteral("bat"), QStringLiteral("exe"), QStringLiteral("EXE"), QStringLiteral("Exe"),
        QStringLiteral("Dll"), QStringLiteral("DLL"), QStringLiteral("dll"), QStringLiteral("Com"),
        QStringLiteral("com"), QStringLiteral("COM"),
    };
    return endings;
}

QStringList ResultCommands::textEndings()
{
    // The text types of the main window's View Text, less its four-letter HTML endings.
    QStringList endings;
    for (const QString &ending : OpenEndings::textTypeEndings()) {
        if (ending.size() == 3)
            endings << ending;
    }
    return endings;
}

void ResultCommands::Copy()
{
    if (m_list.currentText().isEmpty() || !m_links.batch)
        return;
    // The batch is filled from one look at the selection before anything else may run, so
    // nothing done during the yield below can pair a name with another file's path.
    m_links.batch->CopySelectedResults();
    EventWaits::yieldOnce();
    m_list.results().setPaths(m_mirror);
}

void ResultCommands::Run()
{
    const QString path = m_list.currentText();
    m_services.clipboard.setText(path);
    if (path.isEmpty() || !OpenEndings::endsInAny(path, programEndings()))
        return;
    // The path is the program itself, whole: no shell reads it and nothing splits it.
    m_services.programs.startProgram(path, WindowStyle::Normal, PathHelper::parentOf(path));
}

void ResultCommands::Print()
{
    const QStringList entries = m_list.results().paths();
    if (entries.isEmpty()) {
        m_services.dialogs.message(SearchMessages::nothingListed());
        return;
    }
    const std::unique_ptr<QPrinter> printer = m_services.printer.defaultPrinter();
    if (!printer) {
        m_services.dialogs.message(SearchMessages::noPrinter());
        return;
    }
    PrintDialogRequest request;
    request.selectionChoice = false;
    request.printToFile = false;
    if (!m_services.dialogs.printDialog(*printer, request))
        return;
    // A printer that fails on the way gives the job up; like a cancel, it says nothing.
    ResultPrint::print(*printer, entries);
}

void ResultCommands::SelectAll()
{
    if (m_list.count() > 0)
        m_list.selectAll();
}

void ResultCommands::ViewText()
{
    const QString path = m_list.currentText();
    if (path.isEmpty() || !m_links.editor || !OpenEndings::endsInAny(path, textEndings()))
        return;
    m_links.editor->LoadTextFile(path);
}

void ResultCommands::mouseReleased(Qt::MouseButton button, QMenu *menu, const QPoint &globalPos)
{
    if (button != Qt::RightButton || !menu)
        return;
    if (m_links.popup)
        m_links.popup(menu, globalPos);
    else
        menu->exec(globalPos);
}
