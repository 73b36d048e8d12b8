#include "platform/core/alerts.h"

#include <gtest/gtest.h>

namespace ch {
namespace {

TEST(Alerts, RecordingPresenterRecordsAndAnswersFromItsScript)
{
    RecordingAlertPresenter rec;
    ScopedAlertPresenter scoped(rec);
    rec.scriptAnswer(AlertAnswer::Alternate);

    alertPresenter().showError({166, "Error", "Bad month", "OK", ""});
    alertPresenter().showInfo({249, "Information", "Select a budget", "OK", ""});
    EXPECT_EQ(alertPresenter().askQuestion({226, "Question", "Delete?", "Cancel", "OK"}),
              AlertAnswer::Alternate);
    EXPECT_EQ(alertPresenter().askQuestion({261, "Question", "Delete?", "Cancel", "OK"}),
              AlertAnswer::Default);   // script used up

    EXPECT_EQ(rec.numbers(), (std::vector<long>{166, 249, 226, 261}));
    ASSERT_EQ(rec.records().size(), 4u);
    EXPECT_EQ(rec.records()[0].kind, RecordingAlertPresenter::Kind::Error);
    EXPECT_EQ(rec.records()[1].kind, RecordingAlertPresenter::Kind::Info);
    EXPECT_EQ(rec.records()[2].alert.alternateButton, "OK");
}

TEST(Alerts, ScopedPresenterRestoresThePrevious)
{
    RecordingAlertPresenter outer;
    RecordingAlertPresenter inner;
    ScopedAlertPresenter a(outer);
    {
        ScopedAlertPresenter b(inner);
        EXPECT_EQ(&alertPresenter(), &inner);
    }
    EXPECT_EQ(&alertPresenter(), &outer);
}

} // namespace
} // namespace ch
