#include "platform/gui/sheet.h"

#include <utility>

namespace ch {

Sheet::Sheet(QWidget* parent) : QDialog(parent) {}

void Sheet::begin(QWidget* window, EndHandler onEnd)
{
    if (mRunning)
        return;
    if (window && parentWidget() != window)
        setParent(window, windowFlags());
    mOnEnd = std::move(onEnd);
    mRunning = true;
    if (window) {
        open();
    } else {
        setWindowModality(Qt::ApplicationModal);
        show();
    }
}

void Sheet::endSheet(int returnCode)
{
    done(returnCode);
}

void Sheet::done(int returnCode)
{
    if (!mRunning)
        return;
    mRunning = false;
    // Taken out first: the handler may begin the sheet again.
    EndHandler onEnd = std::exchange(mOnEnd, nullptr);
    QDialog::done(returnCode);
    // The window under the sheet has the keys again (Ctrl+S right after).
    activateWindowUnder(parentWidget());
    if (onEnd)
        onEnd(returnCode);
}

void Sheet::reject()
{
    done(kCancelled);
}

void activateWindowUnder(QWidget* under)
{
    if (QWidget* window = under ? under->window() : nullptr; window && window->isVisible())
        window->activateWindow();
}

} // namespace ch
