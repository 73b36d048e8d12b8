#pragma once
// Catches the addresses handed to the desktop for some schemes while alive.

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace ch::test {

class UrlCatcher : public QObject {
    Q_OBJECT

public:
    explicit UrlCatcher(QStringList schemes = {"http", "https", "mailto", "file"}) : mSchemes(schemes)
    {
        for (const QString& scheme : mSchemes)
            QDesktopServices::setUrlHandler(scheme, this, "catchUrl");
    }
    ~UrlCatcher() override
    {
        for (const QString& scheme : mSchemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QStringList urls;

public slots:
    void catchUrl(const QUrl& url) { urls << url.toString(); }

private:
    QStringList mSchemes;
};

} // namespace ch::test
