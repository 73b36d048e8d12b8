#include "platform/gui/export_file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include "qt_test_application.h"

namespace ch {
namespace {

TEST(ExportFileChooser, TheExtensionRequiredAndAddedToTheChosenName)
{
    struct Case {
        const char* requested;
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {"csv", "/home/u/list", "/home/u/list.csv"},
        {"csv", "/home/u/list.csv", "/home/u/list.csv"},
        {"csv", "/home/u/list.txt", "/home/u/list.txt.csv"},
        {"html", "/home/u/report", "/home/u/report.html"},
        {"tx", "/home/u/list", "/home/u/list.tsv"}, // shorter than 3: tab-separated text
        {"", "/home/u/list", "/home/u/list.tsv"},
        {"tsv", "/home/u/.tsv", "/home/u/.tsv.tsv"}, // a bare suffix is not a name
        // The extension in any case is the extension.
        {"XML", "/home/u/decl-q4.xml", "/home/u/decl-q4.xml"},
        {"XML", "/home/u/decl-q4.Xml", "/home/u/decl-q4.Xml"},
        {"xml", "/home/u/decl-q4.XML", "/home/u/decl-q4.XML"},
        {"XML", "/home/u/decl-q4", "/home/u/decl-q4.XML"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withExportExtension(c.typed, exportExtension(c.requested)), c.expected) << c.typed;
}

class ExportPanelTest : public ::testing::Test {
protected:
    ExportPanelTest() { mWindow.show(); }
    QMainWindow mWindow;
};

TEST_F(ExportPanelTest, ConfirmingGivesThePathInTheHomeFolderWithTheExtension)
{
    std::optional<std::optional<std::string>> result;
    QFileDialog* panel = getExportFileNameWithExtension(&mWindow, "csv", [&](auto path) { result = path; });
    QPointer<QFileDialog> alive(panel);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowModality(), Qt::WindowModal);
    EXPECT_EQ(panel->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(panel->directory().absolutePath(), QDir::home().absolutePath());
    EXPECT_FALSE(result.has_value()); // open without waiting

    panel->selectFile(QDir::home().filePath("bookings"));
    static_cast<QDialog*>(panel)->accept(); // as the Save button does
    ASSERT_TRUE(result.has_value());
    ASSERT_TRUE(result->has_value());
    EXPECT_EQ(**result, QDir::home().filePath("bookings.csv").toStdString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }));
}

TEST_F(ExportPanelTest, CancellingGivesNothing)
{
    std::optional<std::optional<std::string>> result;
    QFileDialog* panel = getExportFileNameWithExtension(&mWindow, "tsv", [&](auto path) { result = path; });
    panel->selectFile(QDir::home().filePath("bookings"));
    panel->reject();
    ASSERT_TRUE(result.has_value());
    EXPECT_FALSE(result->has_value());
}

} // namespace
} // namespace ch
