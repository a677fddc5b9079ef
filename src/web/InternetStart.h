#pragma once

#include "platform/ui/SharedWindow.h"
#include "web/WebDialog.h"

struct Services;

// "Internet Start": the window IStart asks "Make Internet Connection?" and, when a browser
// is installed, opens the search portal and closes.
class InternetStart
{
public:
    explicit InternetStart(Services &services, QWidget *owner = nullptr);

    static const FormDesign &design();

    void mnuIStart_Click();
    WebDialog *IStart() const { return m_window.ifLoaded(); }

private:
    void okay();

    Services &m_services;
    SharedWindow<WebDialog> m_window;
};
