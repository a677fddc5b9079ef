#pragma once

#include <QString>

#include <memory>

class QPrinter;

// The default printer; a fresh QPrinter for each job.
class PrinterService
{
public:
    virtual ~PrinterService() = default;
    // Null when no printer is available.
    virtual std::unique_ptr<QPrinter> defaultPrinter() = 0;
};

class SystemPrinter : public PrinterService
{
public:
    std::unique_ptr<QPrinter> defaultPrinter() override;
};
