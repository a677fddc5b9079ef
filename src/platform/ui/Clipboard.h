#pragma once

#include <QImage>
#include <QString>

// The desktop clipboard, shared with every other program.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    // The plain text on the clipboard; "" when it is empty or holds no text.
    virtual QString text() = 0;
    virtual void setText(const QString &text) = 0;
    virtual QImage image() = 0;
    virtual void setImage(const QImage &image) = 0;

    // The X primary selection: the text last selected in any program, which a middle click
    // pastes. A system without one keeps nothing: its text is "" and setting it does nothing.
    virtual bool supportsSelection() = 0;
    virtual QString selectionText() = 0;
    virtual void setSelectionText(const QString &text) = 0;
};

class QtClipboard : public Clipboard
{
public:
    void clear() override;
    QString text() override;
    void setText(const QString &text) override;
    QImage image() override;
    void setImage(const QImage &image) override;
    bool supportsSelection() override;
    QString selectionText() override;
    void setSelectionText(const QString &text) override;
};
