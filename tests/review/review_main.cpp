// countinghouse_review: builds the application as it starts (its shell and
// the controller of its documents) offscreen and writes PNGs of its windows,
// pages and sheets into review/ of the build folder (or the folder given as
// the first argument), for a person to look at. Not a test: it judges
// nothing.
//
// Each part lives in a file of its own (review_support.h) and joins the
// review with one line below.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

#include "app/DocumentController.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "document/app/GXApplicationDelegate.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "platform/gui/qt_dispatcher.h"
#include "review_support.h"
#include "ui/ApplicationShell.h"
#include "ui/ui_test_support.h"

namespace ch::review {

void settle()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool save(const QPixmap& picture, const QString& output, const QString& file)
{
    const QString path = QDir(output).filePath(file);
    if (!picture.save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

bool save(QWidget& widget, const QString& output, const QString& file)
{
    return save(widget.grab(), output, file);
}

void closeBooks(const ReviewContext& context, DocumentWindow& window)
{
    context.controller.discard(window);
    settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace ch::review

// These parts take no review context: each builds its own books.
int reviewImportPage(const QString& output, ch::UserDefaults& defaults);
int portfolioShots(const QString& output, ch::UserDefaults& defaults);
int reviewPrefs(const QString& output, ch::UserDefaults& defaults);
namespace ch { int assistantReviewShots(const QString& output, UserDefaults& defaults); }
namespace ch::review { int reviewTables(const QString& output); }

int main(int argc, char** argv)
{
    using namespace ch;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(COUNTINGHOUSE_REVIEW_OUTPUT);
    QDir().mkpath(output);

    // The application as main() builds it, over defaults of a first start
    // with euro books, its documents' journals in a folder of its own.
    test::UiEnvironment environment;
    UserDefaults& defaults = environment.defaults();
    GXApplicationDelegate::initialize(defaults);
    business::registerBusinessDefaults(defaults);
    business::registerBusinessArgumentClasses(ArgumentClassRegistry::shared());
    defaults.set("NSInternationalCurrencyString", Value(std::string("EUR")));
    defaults.set("NSCurrencySymbol", Value(std::string("EUR")));
    defaults.set("GXShowNewDocumentAssistant", Value(true));
    QTemporaryDir folder;
    QtDispatcher dispatcher;
    ApplicationShell shell(defaults, dispatcher);
    DocumentController controller(defaults, dispatcher);
    controller.setUntitledJournalFolder(folder.path().toStdString());
    shell.setDocumentHost(&controller);
    QObject::connect(&controller, &DocumentController::documentsChanged, &shell, &ApplicationShell::documentsChanged);
    QObject::connect(&controller, &DocumentController::aboutRequested, &shell, &ApplicationShell::doSplash);
    const review::ReviewContext context{output, defaults, shell, controller};

    int failures = 0;
    failures += review::reviewStart(context);
    failures += review::reviewDocumentWindow(context);
    failures += reviewImportPage(output, defaults);
    failures += assistantReviewShots(output, defaults);
    failures += portfolioShots(output, defaults);
    failures += review::reviewTables(output);
    failures += reviewPrefs(output, defaults);
    failures += review::reviewNewBooksLooks(context);
    failures += review::reviewWaysIn(context);
    failures += review::reviewBusinessDay(context);
    return failures == 0 ? 0 : 1;
}
