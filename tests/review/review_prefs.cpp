// Review pictures of the application preferences window, one per page, and
// of the splash at launch and halfway through its fade.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTest>


#include "platform/core/user_defaults.h"
#include "review_support.h"
#include "platform/gui/qt_dispatcher.h"
#include "ui/ApplicationPreferencesWindow.h"
#include "ui/ApplicationShell.h"
#include "ui/GXSplashScreen.h"


int reviewPrefs(const QString& output, ch::UserDefaults& defaults)
{
    using namespace ch;
    int failures = 0;
    QtDispatcher dispatcher;
    ApplicationShell shell(defaults, dispatcher);
    defaults.set("GXAutoSave", true);
    defaults.set("GXOnLineSharepriceCheck", true);
    defaults.set("GXQuoteServiceAddress", std::string("https://quotes.example.net"));
    shell.showPreferences();
    ApplicationPreferencesWindow* window = shell.preferencesWindow();
    ch::review::settle();
    for (int tag = 0; tag < static_cast<int>(std::size(ApplicationPreferencesWindow::kPages)); ++tag) {
        window->showPreferencePage(tag);
        ch::review::settle();
        const std::string_view page = ApplicationPreferencesWindow::kPages[tag];
        failures += !ch::review::save(window->grab(), output,
                           QStringLiteral("prefs-%1.png").arg(QString::fromUtf8(page.data(), qsizetype(page.size()))));
    }
    // A converter address that is none: the page says why.
    if (auto* field = window->findChild<QLineEdit*>("GXCurrencyConverterAddress")) {
        field->setFocus();
        QTest::keyClicks(field, "rates example");
        QTest::keyClick(field, Qt::Key_Return);
        ch::review::settle();
        failures += !ch::review::save(window->grab(), output, QStringLiteral("prefs-software-update-refused.png"));
    }
    window->close();
    defaults.remove("GXAutoSave");
    defaults.remove("GXOnLineSharepriceCheck");
    defaults.remove("GXQuoteServiceAddress");

    shell.showSplash();
    ch::review::settle();
    GXSplashScreen* splash = shell.splashScreen();
    const QPixmap opaque = splash->grab();
    failures += !ch::review::save(opaque, output, QStringLiteral("splash.png"));
    // Halfway: the panel at half opacity over a window behind it.
    QPixmap fading(opaque.size());
    fading.fill(QColor(0xEE, 0xEE, 0xEE));
    {
        QPainter painter(&fading);
        painter.setPen(Qt::darkGray);
        for (int y = 10; y < fading.height(); y += 22) painter.drawText(12, y + 12, "Bread    -2.40    Groceries");
        painter.setOpacity(0.5);
        painter.drawPixmap(0, 0, opaque);
    }
    failures += !ch::review::save(fading, output, QStringLiteral("splash-fading.png"));
    return failures;
}
