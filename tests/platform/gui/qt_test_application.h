#pragma once
// One QApplication for every test of the executable that includes this,
// made before the first test and destroyed after the last.

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace ch::test {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "countinghouse-tests";
        static char* argv[] = {name, nullptr};
        mApp = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override { mApp.reset(); }

private:
    std::unique_ptr<QApplication> mApp;
};

inline ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace ch::test
