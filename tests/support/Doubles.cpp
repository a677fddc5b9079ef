#include "support/Doubles.h"

#include <QPrinter>

std::unique_ptr<QPrinter> PdfPrinter::defaultPrinter()
{
    if (!available)
        return nullptr;
    ++jobs;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(m_pdfPath);
    return printer;
}
