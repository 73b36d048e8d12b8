#pragma once
// Pieces the business sheets share: texts and amounts for fields, the
// document's business side, and owner popups over a list of owners.

#include <QString>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QWidget;

namespace ch {
class CAcoWItem;
class MyDocument;
} // namespace ch

namespace ch::business {

class BusinessOfDocument;

namespace sheet_parts {

QString qs(const std::string& text);
// Two decimals.
QString money(double amount);
BusinessOfDocument& businessOf(MyDocument& document);
std::vector<std::shared_ptr<CAcoWItem>> ownersFor(MyDocument& document, bool customers);
// The owners' names, with the shown one chosen (none when absent).
void fillOwners(QComboBox* popup, const std::vector<std::shared_ptr<CAcoWItem>>& owners,
                const std::shared_ptr<CAcoWItem>& shown);
// The owner chosen or typed; none when the text names none.
std::shared_ptr<CAcoWItem> ownerOf(const QComboBox* popup, const std::vector<std::shared_ptr<CAcoWItem>>& owners);
QComboBox* makeCombo(QWidget* parent, bool editable);
QLineEdit* makeReadOnly(QWidget* parent);

} // namespace sheet_parts
} // namespace ch::business
