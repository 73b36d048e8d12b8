#include "platform/gui/qt_alert_presenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

#include "platform/core/localized_strings.h"
#include "qt_test_application.h"

namespace ch {
namespace {

QStringList buttonTexts(const QMessageBox& box)
{
    QStringList texts;
    for (QAbstractButton* b : box.buttons())
        texts << b->text();
    texts.sort();
    return texts;
}

class QtAlertPresenterTest : public ::testing::Test {
protected:
    QtAlertPresenterTest() : mScopedStrings(mStrings)
    {
        mStrings.set("ERROR", "Error");
        mStrings.set("INFO", "Information");
        mStrings.set("QUESTION", "Question");
        mStrings.set("OK", "OK");
        mStrings.set("CANCEL", "Cancel");
        mStrings.set("166", "The first month must be from 1 to 12.");
    }

    // A document-like window that is active, so alerts open on it.
    void showActiveWindow()
    {
        mWindow.resize(400, 300);
        mWindow.show();
        QApplication::setActiveWindow(&mWindow);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mWindow));
    }

    LocalizedStrings mStrings;
    ScopedLocalizedStrings mScopedStrings;
    QMainWindow mWindow;
    QtAlertPresenter mPresenter;
};

TEST_F(QtAlertPresenterTest, TextsLeftEmptyComeFromTheStringsFileByNumber)
{
    struct Case {
        QtAlertPresenter::Kind kind;
        Alert alert;
        Alert expected;
    };
    const Case cases[] = {
        {QtAlertPresenter::Kind::Error, {166, "", "", "", ""},
         {166, "Error", "The first month must be from 1 to 12.", "OK", ""}},
        {QtAlertPresenter::Kind::Info, {166, "", "", "", ""},
         {166, "Information", "The first month must be from 1 to 12.", "OK", ""}},
        {QtAlertPresenter::Kind::Question, {166, "", "", "", ""},
         {166, "Question", "The first month must be from 1 to 12.", "OK", "Cancel"}},
        // What the error manager already filled in stays.
        {QtAlertPresenter::Kind::Error, {166, "Fehler", "Monat 13?", "Gut", ""},
         {166, "Fehler", "Monat 13?", "Gut", ""}},
        // A number without a text shows the number.
        {QtAlertPresenter::Kind::Error, {999, "", "", "", ""}, {999, "Error", "999", "OK", ""}},
        {QtAlertPresenter::Kind::Info, {0, "", "", "", ""}, {0, "Information", "", "OK", ""}},
    };
    for (const Case& c : cases) {
        const Alert got = QtAlertPresenter::completed(c.alert, c.kind);
        EXPECT_EQ(got.title, c.expected.title) << c.alert.number;
        EXPECT_EQ(got.message, c.expected.message) << c.alert.number;
        EXPECT_EQ(got.defaultButton, c.expected.defaultButton) << c.alert.number;
        EXPECT_EQ(got.alternateButton, c.expected.alternateButton) << c.alert.number;
    }
}

TEST_F(QtAlertPresenterTest, AnErrorOpensModalForTheActiveWindowWithoutWaiting)
{
    showActiveWindow();
    mPresenter.showError({166, "", "", "", ""});

    auto* box = mWindow.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->windowTitle(), "Error");
    EXPECT_EQ(box->text(), "The first month must be from 1 to 12.");
    EXPECT_EQ(buttonTexts(*box), QStringList{"OK"});

    QPointer<QMessageBox> alive(box);
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); })); // closed and deleted
}

TEST_F(QtAlertPresenterTest, WithoutAnActiveWindowTheBoxIsModalForTheApplication)
{
    QMessageBox* box = QtAlertPresenter::makeBox({166, "", "", "", ""}, QtAlertPresenter::Kind::Info, nullptr);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    delete box;
}

TEST_F(QtAlertPresenterTest, AQuestionAnswersWithTheButtonChosen)
{
    showActiveWindow();
    struct Case {
        const char* click; // text of the button to click, or nullptr for Escape
        AlertAnswer expected;
    };
    const Case cases[] = {
        {"Cancel", AlertAnswer::Default},
        {"OK", AlertAnswer::Alternate},
        {nullptr, AlertAnswer::Default}, // Escape takes the cautious default
    };
    for (const Case& c : cases) {
        QString seenText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seenText = box->text();
            if (!c.click) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == c.click)
                    b->click();
        });
        const AlertAnswer answer = mPresenter.askQuestion({166, "", "", "Cancel", "OK"});
        EXPECT_EQ(answer, c.expected) << (c.click ? c.click : "Escape");
        EXPECT_EQ(seenText, "The first month must be from 1 to 12.");
    }
}

TEST_F(QtAlertPresenterTest, AnAlertFromAWorkerThreadOpensOnTheMainThread)
{
    showActiveWindow();
    std::thread worker([&] { mPresenter.showInfo({166, "", "", "", ""}); });
    worker.join();
    QMessageBox* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = mWindow.findChild<QMessageBox*>()) != nullptr; }));
    EXPECT_EQ(box->thread(), qApp->thread());
    EXPECT_EQ(box->windowTitle(), "Information");
    box->close();
}

} // namespace
} // namespace ch
