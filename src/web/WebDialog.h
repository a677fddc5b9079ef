#pragma once

#include "platform/ui/DesignedWindow.h"

#include <functional>

// A designed window of the Internet menu whose "Okay" runs the command its owner gave it.
class WebDialog : public DesignedWindow
{
    Q_OBJECT

public:
    WebDialog(const FormDesign &design, std::function<void()> okay, QWidget *parent = nullptr);

    QLabel *label1() const;

    void Command1_Click() override;

private:
    std::function<void()> m_okay;
};
