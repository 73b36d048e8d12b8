// The review's pictures of what the application shows before any books: the
// start-up choice and the About window.

#include <QWidget>

#include "review_support.h"
#include "ui/ApplicationShell.h"
#include "ui/CStartupChoiceController.h"
#include "ui/GXAboutScreenController.h"

namespace ch::review {

int reviewStart(const ReviewContext& context)
{
    int failures = 0;
    context.shell.beginStartupChoice();
    settle();
    if (CStartupChoiceController* choice = context.shell.startupChoice()) {
        failures += !save(*choice, context.output, "app-startup-choice.png");
        choice->close();
    } else {
        ++failures;
    }
    settle();

    context.shell.doSplash();
    settle();
    if (GXAboutScreenController* about = context.shell.aboutWindow()) {
        failures += !save(*about, context.output, "app-about.png");
        about->close();
    } else {
        ++failures;
    }
    settle();
    return failures;
}

} // namespace ch::review
