#include "model/foundation/CErrorManager.h"

#include <iostream>
#include <string>

#include "model/foundation/CNSStringToCString.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {

bool CErrorManager::ib_batch = false;
int CErrorManager::il_answerGiven = -1;
int CErrorManager::il_questionsAnswered = 0;

namespace {

std::string messageText(long number)
{
    return localized(std::to_string(number));
}

// Model text (8-bit, in the destination encoding) as UTF-8.
std::string modelText(std::string_view bytes)
{
    return CNSStringToCString::convertFromDestination(bytes);
}

std::string modelText(const char* text)
{
    return text ? modelText(std::string_view(text)) : std::string();
}

std::string pascalText(const unsigned char* text)
{
    if (!text) return {};
    return modelText(std::string_view(reinterpret_cast<const char*>(text + 1), text[0]));
}

void logMessage(long number, const std::string& text)
{
    std::cerr << "Countinghouse: " << number << ": " << text << '\n';
}

Alert makeAlert(long number, std::string_view titleKey, std::string message)
{
    Alert alert;
    alert.number = number;
    alert.title = localized(titleKey);
    alert.message = std::move(message);
    alert.defaultButton = localized("OK");
    return alert;
}

void showError(long number, std::string message, bool batch)
{
    if (batch) {
        logMessage(number, messageText(number));
        return;
    }
    alertPresenter().showError(makeAlert(number, "ERROR", std::move(message)));
}

bool ask(long number, ButtonKey defaultKey, ButtonKey alternateKey, std::string message)
{
    Alert alert = makeAlert(number, "QUESTION", std::move(message));
    alert.defaultButton = localized(defaultKey.key);
    alert.alternateButton = localized(alternateKey.key);
    const AlertAnswer answer = alertPresenter().askQuestion(alert);
    // A default of "CANCEL" or "NO" is the negative answer; any other default
    // (such as "YES") is the positive one.
    const bool defaultIsNegative = defaultKey.key == "CANCEL" || defaultKey.key == "NO";
    return defaultIsNegative ? answer == AlertAnswer::Alternate : answer == AlertAnswer::Default;
}

} // namespace

void CErrorManager::SetMode(bool batch)
{
    ib_batch = batch;
}

bool CErrorManager::GetMode()
{
    return ib_batch;
}

void CErrorManager::SetAnswerGiven(int answer)
{
    il_answerGiven = answer;
}

void CErrorManager::RaiseError(long number)
{
    showError(number, messageText(number), ib_batch);
}

void CErrorManager::RaiseError(long number, const unsigned char* text1, const unsigned char* text2)
{
    if (ib_batch) return showError(number, {}, true);
    showError(number, formatMessage(messageText(number), {pascalText(text1), pascalText(text2)}), false);
}

void CErrorManager::RaiseError(long number, long value1, long value2)
{
    if (ib_batch) return showError(number, {}, true);
    showError(number, formatMessage(messageText(number), {value1, value2}), false);
}

void CErrorManager::RaiseInfo(long number)
{
    if (ib_batch) {
        logMessage(number, messageText(number));
        return;
    }
    alertPresenter().showInfo(makeAlert(number, "INFO", messageText(number)));
}

bool CErrorManager::AskQuestion(long number, ButtonKey defaultKey, ButtonKey alternateKey,
                                const char* arg1, const char* arg2)
{
    if (ib_batch || il_questionsAnswered > 0) return true;
    return ask(number, defaultKey, alternateKey,
               formatMessage(messageText(number), {modelText(arg1), modelText(arg2)}));
}

bool CErrorManager::AskQuestionWithTexts(long number, ButtonKey defaultKey, ButtonKey alternateKey,
                                        std::string_view text1, std::string_view text2)
{
    if (ib_batch || il_questionsAnswered > 0) return true;
    return ask(number, defaultKey, alternateKey,
               formatMessage(messageText(number), {std::string(text1), std::string(text2)}));
}

bool CErrorManager::AskQuestion(long number, ButtonKey defaultKey, ButtonKey alternateKey)
{
    if (ib_batch || il_questionsAnswered > 0) return true;
    return ask(number, defaultKey, alternateKey, messageText(number));
}

bool CErrorManager::AskQuestion(long number, const char* arg1, const char* arg2)
{
    return AskQuestion(number, ButtonKey("CANCEL"), ButtonKey("OK"), arg1, arg2);
}

bool CErrorManager::AskQuestion(long number)
{
    return AskQuestion(number, ButtonKey("CANCEL"), ButtonKey("OK"));
}

} // namespace ch
