#pragma once

#include <QDateTime>
#include <QElapsedTimer>

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};
