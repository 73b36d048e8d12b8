#pragma once
// Numbered errors, information and questions. The message of number n is the
// localized text whose key is n's decimal text; titles and buttons are the
// localized "ERROR", "INFO", "QUESTION", "OK", "CANCEL" and "NO". Alerts go to
// the current AlertPresenter. In batch mode nothing is shown: errors and
// information are logged and every question is answered yes.
//
// Text arguments are the model's 8-bit text, in the encoding of the user
// default "GXDestinationEncoding".

#include <string>
#include <string_view>

namespace ch {

// A key of the localized texts naming a button ("OK", "CANCEL", "YES", ...);
// a type of its own so that it is never taken for a message argument.
struct ButtonKey {
    constexpr explicit ButtonKey(std::string_view k) : key(k) {}
    std::string_view key;
};

class CErrorManager {
public:
    virtual ~CErrorManager() = default;

    static void SetMode(bool batch);
    static bool GetMode();
    static void SetAnswerGiven(int answer);

    static void RaiseError(long number);
    // The message is the text of number used as a format with the two
    // length-prefixed texts as its arguments.
    static void RaiseError(long number, const unsigned char* text1, const unsigned char* text2);
    // The same with the two values' decimal texts.
    static void RaiseError(long number, long value1, long value2);
    static void RaiseInfo(long number);

    // With a default key "CANCEL" or "NO", true when the alternate button is
    // chosen; with any other default key, true when the default one is.
    static bool AskQuestion(long number, ButtonKey defaultKey, ButtonKey alternateKey,
                            const char* arg1, const char* arg2);
    static bool AskQuestion(long number, ButtonKey defaultKey, ButtonKey alternateKey);
    // The same with arguments in UTF-8, as the bridge and the window hold
    // names: read as model text, their quotes and accents would be garbled.
    static bool AskQuestionWithTexts(long number, ButtonKey defaultKey, ButtonKey alternateKey,
                                     std::string_view text1, std::string_view text2 = {});
    // Buttons "CANCEL" (default) and "OK"; true when "OK" is chosen.
    static bool AskQuestion(long number, const char* arg1, const char* arg2);
    static bool AskQuestion(long number);

    // While one lives, every question is answered yes without being shown,
    // and errors and information are shown as ever: for an action whose
    // questions the person already answered.
    class QuestionsAnswered {
    public:
        QuestionsAnswered() { ++il_questionsAnswered; }
        ~QuestionsAnswered() { --il_questionsAnswered; }
        QuestionsAnswered(const QuestionsAnswered&) = delete;
        QuestionsAnswered& operator=(const QuestionsAnswered&) = delete;
    };

private:
    static bool ib_batch;
    static int il_answerGiven;
    static int il_questionsAnswered;
};

} // namespace ch
