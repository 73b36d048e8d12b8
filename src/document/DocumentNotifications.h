#pragma once
// The names of the notifications through which changes to a set of books
// reach pages, sheets and items. Posters and observers agree on the text, not
// on the constant, so every text stays exactly as files and peers know it,
// misspellings included. None of them carries user information; the object
// is the item concerned (before a deletion) or the deleted object's key
// (after it).

namespace ch {

inline constexpr char GXTransactionChangedNotification[] = "transactionChanged";
inline constexpr char GXCAccountCreatedNotification[] = "ACCOUNTCREATED";
inline constexpr char GXCAccountModifiedNotification[] = "ACCOUNTMODIFIED";
inline constexpr char GXCAccountDeletedNotification[] = "ACCOUNTDELETED";
inline constexpr char GXCAccountWillBeDeletedNotification[] = "ACCOUNTWILLBEDELETED";
inline constexpr char GXCTransactionCreatedNotification[] = "TRANSACTIONCREATED";
inline constexpr char GXCTransactionModifiedNotification[] = "TRANSACTIONMODIFIED";
inline constexpr char GXCTransactionWillBeModifiedNotification[] = "TRANSACTIONWILLBEMODIFIED";
inline constexpr char GXCTransactionDeletedNotification[] = "TRANSACTIONDELETED";
inline constexpr char GXCTransactionWillBeDeletedNotification[] = "TRANSACTIONWILLBEDELETED";
inline constexpr char GXCAccountTypeCreatedNotification[] = "ACCOUNTTYPECREATED";
inline constexpr char GXCAccountTypeModifiedNotification[] = "ACCOUNTTYPEMODIFIED";
inline constexpr char GXCAccountTypeDeletedNotification[] = "ACCOUNTTYPEDELETED";
inline constexpr char GXCAccountTypeWillBeDeletedNotification[] = "ACCOUNTTYPEWILLBEDELETED";
inline constexpr char GXCCategoryTypeCreatedNotification[] = "CATEGORYTYPECREATED";
inline constexpr char GXCCategoryTypeModifiedNotification[] = "CATEGORYTYPEMODIFIED";
inline constexpr char GXCCategoryTypeDeletedNotification[] = "CATEGORYTYPEDELETED";
inline constexpr char GXCCategoryTypeWillBeDeletedNotification[] = "CATEGORYTYPEWILLBEDELETED";
inline constexpr char GXCCategoryCreatedNotification[] = "CATEGORYCREATED";
inline constexpr char GXCCategoryModifiedNotification[] = "CATEGORYMODIFIED";
inline constexpr char GXCCategoryDeletedNotification[] = "CATEGORYDELETED";
inline constexpr char GXCCategoryWillBeDeletedNotification[] = "CATEGORYWILLBEDELETED";
inline constexpr char GXCChildFoldersChangedNotification[] = "CHILDFOLDERSCHANGEDNOTIFICATION";
inline constexpr char GXCChildObjectsChangedNotification[] = "CHILDOBJECTSCHANGEDNOTIFICATION";
inline constexpr char GXCTransactionLinkedNotification[] = "TRANSACTIONLINKEDNOTIFICATION";
inline constexpr char GXCDebetDeletedNotification[] = "DEBETDELETEDNOTIFICATION";
inline constexpr char GXCCreditDeletedNotification[] = "CREDITDELETEDNOTIFIACTION";
inline constexpr char GXCExpTDetailDeletedNotification[] = "EXPENSETYPEDETAILDELETEDNOTIFICATION";
inline constexpr char GXCObjectRemovedFromRootNotification[] = "OBJECTREMOVEDFROMROOTNOTIFICATION";
inline constexpr char GXCShareCreatedNotification[] = "SHARECREATEDNOTIFICATION";
inline constexpr char GXCShareModifiedNotification[] = "SHAREMODIFIEDNOTIFICATION";
inline constexpr char GXCSharePriceModifiedNotification[] = "SHAREPRICEMODIFIEDNOTIFICATION";
inline constexpr char GXCRealTimeSharePriceModifiedNotification[] = "REALTIMESHAREPRICEMODIFIEDNOTIFICATION";
inline constexpr char GXCShareDeletedNotification[] = "SHAREDELETEDNOTIFICATION";
inline constexpr char GXCOwnerCreatedNotification[] = "OWNERCREATEDNOTIFICATION";
inline constexpr char GXCOwnerModifiedNotification[] = "OWNERMODIFIEDNOTIFICATION";
inline constexpr char GXCOwnerWillBeDeletedNotification[] = "OWNERWILLBEDELTEDNOTIFICATION";
inline constexpr char GXCOwnerDeletedNotification[] = "OWNERDELETEDNOTIFICATION";
inline constexpr char GXCCurrencyCreatedNotification[] = "CURRENCYCRETEDNOTIFICATION";
inline constexpr char GXCCurrencyModifiedNotification[] = "CURRENCYMODIFIEDNOTIFICATION";
inline constexpr char GXCCurrencyPriceModifiedNotification[] = "CURRENCYPRICEMODIFIEDNOTIFICATION";
inline constexpr char GXCCurrencyWillBeDeletedNotification[] = "CURRNECYWILLBEDELETEDMODICATION";
inline constexpr char GXCCurrencyDeletedNotification[] = "CURRNECYDELETEDMODICATION";
inline constexpr char GXCFolderBalanceChangedNotification[] = "FOLDERBALANCECHANGED";
inline constexpr char GXCTransactionDetailTableViewGotFocusNotification[] = "TRANSACTIONDETAILTABLEVIEWGOTFOCUS";
inline constexpr char GXCNewVatRateCreatedNotification[] = "NEWVATRATECREATED";
inline constexpr char GXCVatRateWillBeDeletedNotification[] = "VATRATEWILLBEDELETED";
inline constexpr char GXCVatRateDeletedNotification[] = "VATRATEDELETED";
inline constexpr char GXCVatRateUpdatedNotification[] = "VATRATEUPDATED";
inline constexpr char GXCVATPeriodCreatedNotification[] = "VATPERIODCREATED";
inline constexpr char GXCCustomerInvoiceCreatedNotification[] = "GXCCustomerInvoiceCreatedNotification";
inline constexpr char GXCCustomerInvoiceModifiedNotification[] = "GXCCustomerInvoiceModifiedNotification";
inline constexpr char GXCCustomerInvoiceDeletedNotification[] = "GXCCustomerInvoiceDeletedNotification";
inline constexpr char GXCReferenceTransactionIdShouldBeNullified[] = "GXCReferenceTransactionIdShouldBeNullified";
inline constexpr char GXCSupplierInvoiceModifiedNotification[] = "GXCSupplierInvoiceModifiedNotification";
inline constexpr char GXCSupplierInvoiceDeletedNotification[] = "GXCSupplierInvoiceDeletedNotification";
inline constexpr char GXCCustomerPaymentCreatedNotification[] = "GXCCustomerPaymentCreatedNotification";
inline constexpr char GXCSupplierPaymentsUnlinkedOrLinkedNotification[] = "SupplierPaymentsUnlinkedOrLinkedNotification";
inline constexpr char GXCCustomerPaymentsUnlinkedOrLinkedNotification[] = "CustomerPaymentsUnlinkedOrLinkedNotification";
inline constexpr char GXCPaymentsUnlinkedOrLinkedNotification[] = "PaymentsUnlinkedOrLinkedNotification";

} // namespace ch
