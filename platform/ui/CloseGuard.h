#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Closing a window while one of its handlers runs a cooperative loop: the
// loop is further up the stack and still uses the window, so the window must
// not go away under it. The window owns a guard; each loop holds a Busy for
// its length. A close asked for meanwhile (close box, Exit, close()) is held
// back: the guard asks the loop to end (endLoop) and closes the window once
// the outermost Busy ends. The window's closeEvent then runs as for any close,
// and may still refuse it. A close while nothing runs goes through at once.
//
// Hold the Busy as the handler's first local, so that the close comes after
// everything the handler does.

namespace platform {

class CloseGuard : public QObject {
public:
    CloseGuard(QWidget& window, std::function<void()> endLoop);
    ~CloseGuard() override;

    class Busy {
    public:
        explicit Busy(CloseGuard& guard);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        CloseGuard& guard_;
    };

    // Marks a loop as running until the returned object ends.
    [[nodiscard]] Busy Enter() { return Busy(*this); }

    bool Running() const { return depth_ > 0; }
    // A close came while a loop ran and waits for it to end.
    bool ClosePending() const { return closePending_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    std::function<void()> endLoop_;
    int depth_ = 0;
    bool closePending_ = false;
};

} // namespace platform
