#include "search/DeepSearch.h"

#include "search/ResultList.h"
#include "search/ResultListModel.h"

DeepSearch::DeepSearch(Services &services, const DigTiming &timing, ResultLinks links, SearchFolderRead read)
    : m_services(services),
      m_timing(timing),
      m_links(std::move(links)),
      m_read(std::move(read)),
      m_dig([this] {
          auto *dig = new Dig(m_services, m_timing, m_links, m_read);
          dig->Form_Load();
          return dig;
      })
{
}

void DeepSearch::mnuSearchFor_Click()
{
    Dig *dig = m_dig.get();
    dig->setEnabled(true);
    const bool wasVisible = dig->isVisible();
    dig->show();
    if (wasVisible)
        dig->raise();
    dig->activateWindow();
}

int DeepSearch::count() const
{
    const Dig *dig = m_dig.ifLoaded();
    return dig ? dig->List1()->count() : 0;
}

bool DeepSearch::isSelected(int index) const
{
    const Dig *dig = m_dig.ifLoaded();
    return dig && dig->List1()->isSelected(index);
}

QString DeepSearch::entry(int index) const
{
    const Dig *dig = m_dig.ifLoaded();
    return dig ? dig->List1()->entry(index) : QString();
}

void DeepSearch::clear()
{
    m_dig.get()->List1()->results().clear();
}
