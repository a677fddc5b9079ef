#include "platform/ui/Printer.h"

#include <QPrinter>
#include <QPrinterInfo>

std::unique_ptr<QPrinter> SystemPrinter::defaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info);
}
