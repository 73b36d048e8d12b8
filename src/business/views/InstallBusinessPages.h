#pragma once
// Plugs the business pages of a document into its window's side bar: the
// owners page (customers, suppliers, their invoices and payments) and the
// business-setup page (VAT rates, VAT periods and their listings). With
// contacts given, owners linked to a person follow the person's changes.
// The application calls it for every document window it makes, after
// installBusiness on the document.

namespace ch {
class CSideBarController;
class ContactsProvider;
class MyDocument;
} // namespace ch

namespace ch::business {

void installBusinessPages(CSideBarController& sideBar, MyDocument& document, ContactsProvider* contacts = nullptr);

} // namespace ch::business
