#include "web/WebDialog.h"

WebDialog::WebDialog(const FormDesign &design, std::function<void()> okay, QWidget *parent)
    : DesignedWindow(design, parent), m_okay(std::move(okay))
{
}

QLabel *WebDialog::label1() const
{
    return label(QStringLiteral("Label1"));
}

void WebDialog::Command1_Click()
{
    m_okay();
}
