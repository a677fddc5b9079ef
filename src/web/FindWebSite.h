#pragma once

#include "web/PromptPair.h"

// "Find WebSite ": the address dialog SiteSeek, whose "Okay" opens the address as typed
// through the launcher SiteSearch and leaves the dialog open for the next one.
class FindWebSite
{
public:
    explicit FindWebSite(Services &services, QWidget *owner = nullptr);

    static const PairDesign &design();

    void mnuSiteSearch_Click();

    PromptPair &pair() { return m_pair; }

private:
    PromptPair m_pair;
};
