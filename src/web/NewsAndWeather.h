#pragma once

#include "web/PromptPair.h"

// "News Stations" and "Weather": each item asks "Visit ...?" in its submenu's prompt
// (NewsSeek, WeatherSeek), whose "Okay" opens the site through the launcher (NewsNet,
// WeatherNet).
class NewsAndWeather
{
public:
    explicit NewsAndWeather(Services &services, QWidget *owner = nullptr);

    static const PairDesign &newsDesign();
    static const PairDesign &weatherDesign();
    // The items of both submenus.
    static QStringList items();

    void item_Click(const QString &item);

    PromptPair &news() { return m_news; }
    PromptPair &weather() { return m_weather; }

private:
    PromptPair m_news;
    PromptPair m_weather;
};
