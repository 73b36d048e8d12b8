#pragma once
// Where numbered errors, information and questions reach the user. The error
// manager builds the texts (already localized and formatted) and hands them
// to the current presenter: the Qt one in the application, a recording one in
// tests, a logging one when nothing else is installed.

#include <deque>
#include <string>
#include <vector>

namespace ch {

struct Alert {
    long number = 0;              // message number (its text's key), 0 when none
    std::string title;            // e.g. the text of "ERROR"
    std::string message;
    std::string defaultButton;    // e.g. the text of "OK"
    std::string alternateButton;  // questions only
};

enum class AlertAnswer { Default, Alternate };

class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;
    virtual void showError(const Alert& alert) = 0;
    virtual void showInfo(const Alert& alert) = 0;
    // Asks and answers which button was chosen.
    virtual AlertAnswer askQuestion(const Alert& alert) = 0;
};

// The current presenter; a logging one (stderr, questions answered with the
// default button) until one is installed.
AlertPresenter& alertPresenter();
// Installs a presenter (not owned; nullptr restores the logging one).
void setAlertPresenter(AlertPresenter* presenter);

// An error or information of a text of its own (no message number), titled
// with the localized "ERROR" or "INFO", with an "OK" button.
void showErrorText(const std::string& message);
void showInfoText(const std::string& message);

// Installs a presenter for its lifetime.
class ScopedAlertPresenter {
public:
    explicit ScopedAlertPresenter(AlertPresenter& presenter);
    ~ScopedAlertPresenter();
    ScopedAlertPresenter(const ScopedAlertPresenter&) = delete;
    ScopedAlertPresenter& operator=(const ScopedAlertPresenter&) = delete;

private:
    AlertPresenter* mPrevious;
};

// For tests: records every alert and answers questions from a script (the
// default button once the script runs out).
class RecordingAlertPresenter : public AlertPresenter {
public:
    enum class Kind { Error, Info, Question };
    struct Record {
        Kind kind;
        Alert alert;
    };

    void showError(const Alert& alert) override;
    void showInfo(const Alert& alert) override;
    AlertAnswer askQuestion(const Alert& alert) override;

    void scriptAnswer(AlertAnswer answer) { mScript.push_back(answer); }
    const std::vector<Record>& records() const { return mRecords; }
    // Numbers of the recorded alerts, in order.
    std::vector<long> numbers() const;
    void clear();

private:
    std::vector<Record> mRecords;
    std::deque<AlertAnswer> mScript;
};

} // namespace ch
