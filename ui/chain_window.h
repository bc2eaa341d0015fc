#pragma once

#include "ui/guard.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <utility>

class QEventLoop;

namespace ui {

// What a window does with its opener (the owner it is created with).
enum class Opener {
    Keep,          // it stays as it is, visible beneath: small windows over their opener
    Hide,          // hidden while the window is created, shown again when it closes
    HideThenClose, // hidden while the window is created, closed when it closes
};

// The base of every window after the main window. A window is shown modally by running its
// own event loop; closing it (its buttons, its frame's close box, or close() from another
// window) only asks that loop to end. When the loop has ended, the close handler onClosed
// runs, the window deals with its opener as its Opener says, hides, and the opener destroys
// it. Hiding a window never ends its showing, so a window may hide its opener while it is
// created and close it when it closes: closing the innermost window of a chain unwinds the
// whole chain, each close handler running after the window above it is gone.
class ChainWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChainWindow(QWidget* owner, Opener opener = Opener::Keep);
    ~ChainWindow() override;

    // Hides the opener where the window's Opener says so, then runs the creation handler once,
    // through the error guard.
    void create();
    // Shows the window and waits until it is closed; then runs the close handler.
    void showModally();
    bool isShowingModally() const { return m_loop != nullptr; }

protected:
    virtual void onCreated() {}
    virtual void onClosed() {}

    // A fixed dialog frame with the given client area, centred on the desktop.
    void setFixedClientSize(int width, int height);
    // The client area placed at a screen position instead of centred.
    void placeAt(int left, int top);

    // Small windows that open over their opener (about, explanations, charts) close on Escape,
    // as dialogs do; the windows of a chain do not. Escape in a text being edited closes
    // nothing: it would drop what was typed.
    void setClosesOnEscape(bool on) { m_closesOnEscape = on; }

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Connects a signal to a handler entered through the error guard.
    template <class Sender, class Signal, class Handler>
    void on(Sender* sender, Signal signal, Handler handler) {
        connect(sender, signal, this, [handler] { ui::guarded(handler); });
    }

private:
    Opener m_opener;
    QEventLoop* m_loop = nullptr;
    bool m_closeRequested = false;
    bool m_closesOnEscape = false;
};

// Opening a window, the one way every window is opened: the opener creates it with itself as
// owner and the values it hands over, runs its creation handler, shows it modally, and destroys
// it as soon as the showing ends. A window that asks something (it has answer()) gives its
// answer back.
template <class Window, class... Args> auto openWindow(QWidget* owner, Args&&... args) {
    const std::unique_ptr<Window> window(new Window(owner, std::forward<Args>(args)...));
    window->create();
    window->showModally();
    if constexpr (requires { window->answer(); })
        return window->answer();
}

} // namespace ui
