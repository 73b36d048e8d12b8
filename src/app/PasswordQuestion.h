#pragma once
// The password question of a protected document, shown before any of its
// books: the field "passwordField", OK and Cancel, and a line saying that the
// password keeps out a casual reader and is not encryption. A wrong entry is
// cleared, the question stays open and says the password was wrong
// ("wrongPasswordLabel"); Cancel ends it. The check itself is the document
// file's (passwordAccepts).

#include <QDialog>

#include <functional>
#include <string_view>

class QLabel;
class QLineEdit;

namespace ch {

class PasswordQuestion : public QDialog {
    Q_OBJECT

public:
    using Check = std::function<bool(std::string_view typed)>;
    PasswordQuestion(const QString& documentName, Check check, QWidget* parent = nullptr);

    QLineEdit* passwordField() const { return mField; }

public slots:
    void accept() override;

private:
    Check mCheck;
    QLineEdit* mField;
    QLabel* mWrong;
};

} // namespace ch
