#include "app/PasswordQuestion.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/gui/localized_text.h"

namespace ch {

PasswordQuestion::PasswordQuestion(const QString& documentName, Check check, QWidget* parent)
    : QDialog(parent), mCheck(std::move(check)), mField(new QLineEdit(this)),
      mWrong(new QLabel(localizedText("PASSWORDWRONG"), this))
{
    setObjectName("askPassword");
    setWindowTitle(documentName);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QString::fromStdString(
        formatMessage(localized("PASSWORDQUESTION"), {documentName.toStdString()})));
    label->setWordWrap(true);
    layout->addWidget(label);
    mField->setObjectName("passwordField");
    mField->setEchoMode(QLineEdit::Password);
    layout->addWidget(mField);
    mWrong->setObjectName("wrongPasswordLabel");
    mWrong->setWordWrap(true);
    mWrong->hide();
    layout->addWidget(mWrong);
    auto* notEncryption = new QLabel(localizedText("PASSWORDNOTENCRYPTION"), this);
    notEncryption->setObjectName("passwordNotEncryptionLabel");
    notEncryption->setWordWrap(true);
    layout->addWidget(notEncryption);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(localizedText("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(localizedText("CANCEL"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &PasswordQuestion::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PasswordQuestion::reject);
    layout->addWidget(buttons);
    resize(380, sizeHint().height());
}

void PasswordQuestion::accept()
{
    const QByteArray typed = mField->text().toUtf8();
    if (mCheck && !mCheck(std::string_view(typed.constData(), static_cast<std::size_t>(typed.size())))) {
        mField->clear();
        mField->setFocus();
        mWrong->show();
        return;
    }
    QDialog::accept();
}

} // namespace ch
