// One QApplication for the whole test program, on the offscreen platform
// unless another one is asked for.

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        mApplication = std::make_unique<QApplication>(mArgc, mArgv);
    }
    void TearDown() override { mApplication.reset(); }

private:
    int mArgc = 1;
    char mName[32] = "test_analysis_views";
    char* mArgv[2] = {mName, nullptr};
    std::unique_ptr<QApplication> mApplication;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
