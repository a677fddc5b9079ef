#include "editor/TextEditor.h"

TextEditor::TextEditor(Services &services, std::function<QString()> activePaneFile)
    : m_services(services),
      m_window([this] {
          auto *textpad = new Textpad(m_services, m_state, m_html);
          QObject::connect(textpad, &Textpad::unloadRequested, textpad, [this] { m_window.unload(); });
          textpad->Form_Load();
          return textpad;
      }),
      m_html(services, std::move(activePaneFile), [this] { return m_window.ifLoaded(); })
{
}

TextEditor::~TextEditor() = default;

Textpad *TextEditor::show()
{
    // Loading shows the window; an open one is left where and as it is, also when minimised.
    Textpad *textpad = m_window.get();
    if (textpad && textpad->isHidden())
        textpad->show();
    return textpad;
}

void TextEditor::LoadTextFile(const QString &path, std::function<void(bool loaded)> done)
{
    Textpad *textpad = show();
    if (!textpad || !textpad->mayDropText()) {
        if (done)
            done(false);
        return;
    }
    textpad->LoadTextFile(path, std::move(done));
}

bool TextEditor::mayEndProgram()
{
    Textpad *textpad = m_window.ifLoaded();
    if (!textpad)
        return true;
    return textpad->mayDropText();
}
