#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

// One shared instance of a window. The first reference creates it through the factory, which
// also runs its load handler; unload destroys it, so the next reference starts from its design
// again, while hiding keeps it as it is. A window may unload itself inside its own load: the
// reference that was loading it then gets no window.
template <typename T>
class SharedWindow
{
public:
    using Factory = std::function<T *()>;

    explicit SharedWindow(Factory factory) : m_factory(std::move(factory)) {}
    ~SharedWindow() { delete m_window.data(); }
    SharedWindow(const SharedWindow &) = delete;
    SharedWindow &operator=(const SharedWindow &) = delete;

    // The window, created and loaded when it is not loaded; null when it unloaded itself
    // during its load (and while it is still loading).
    T *get()
    {
        if (m_window || m_loading)
            return m_window.data();
        m_loading = true;
        m_unloadedWhileLoading = false;
        T *window = m_factory();
        m_loading = false;
        if (m_unloadedWhileLoading) {
            if (window) {
                window->hide();
                window->deleteLater();
            }
            return nullptr;
        }
        m_window = window;
        return window;
    }
    T *operator->() { return get(); }

    bool isLoaded() const { return !m_window.isNull(); }
    // The window when it is loaded, without creating it.
    T *ifLoaded() const { return m_window.data(); }

    // Destroys the window. It is hidden at once and deleted once control is back in the event
    // loop, so a window may unload itself from inside one of its own handlers.
    void unload()
    {
        if (m_loading)
            m_unloadedWhileLoading = true;
        if (!m_window)
            return;
        T *window = m_window.data();
        m_window.clear();
        window->hide();
        window->deleteLater();
    }

private:
    Factory m_factory;
    QPointer<T> m_window;
    bool m_loading = false;
    bool m_unloadedWhileLoading = false;
};
