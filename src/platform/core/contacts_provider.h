#pragma once
// The people the user keeps in the desktop's contacts: a folder of vCard files
// ($XDG_DATA_HOME/countinghouse/contacts/ by default). Owners of a set of books
// can be linked to a person by the person's UID and copy the person's name,
// address, phone, fax and e-mail.
//
// Every byte of a vCard file is treated as hostile: files and cards are read
// with bounded sizes and counts, malformed lines and properties are skipped,
// and nothing in a file can make the reader fail as a whole.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/core/observable.h"

namespace ch {

// A phone number or e-mail address with its type words ("work", "fax",
// "home", "cell", ... in lower case).
struct ContactValue {
    std::vector<std::string> types;
    std::string value;
    bool preferred = false;

    bool hasType(std::string_view type) const;
    bool isHomeFax() const { return hasType("fax") && hasType("home"); }
    bool isWorkFax() const { return hasType("fax") && hasType("work"); }
};

struct ContactAddress {
    std::vector<std::string> types;
    bool preferred = false;
    std::string poBox;
    std::string extended;
    std::string street;
    std::string city;
    std::string region;
    std::string postalCode;
    std::string country;

    friend bool operator==(const ContactAddress&, const ContactAddress&) = default;
};

// The address as lines of text: street (with the extended part and the PO
// box), postal code and city, region, country; empty parts are left out.
std::string formatAddress(const ContactAddress& address);

struct ContactPerson {
    // The person flags masked with kShowAsMask: shown as a person or a company.
    static constexpr int kShowAsMask = 7;
    static constexpr int kShowAsPerson = 0;
    static constexpr int kShowAsCompany = 1;

    // The card's UID; for a card of the contacts folder written without one,
    // the identity the folder gives it (see VCardFolderContacts).
    std::string uid;
    int flags = kShowAsPerson;
    std::string firstName;
    std::string lastName;
    std::string organization;
    // The card's formatted name (FN).
    std::string formattedName;
    std::vector<ContactValue> phones;
    std::vector<ContactValue> emails;
    std::vector<ContactAddress> addresses;
    std::vector<std::uint8_t> imageData;

    // The primary entry of each list: the first one marked preferred, else
    // the first one; null for an empty list.
    const ContactValue* primaryPhone() const;
    const ContactValue* primaryEmail() const;
    const ContactAddress* primaryAddress() const;
    // The first phone entry labelled home fax, else work fax; null for none.
    const ContactValue* faxNumber() const;
};

// Every card of the text (BEGIN:VCARD .. END:VCARD, versions 2.1 to 4.0).
// Unknown properties, malformed lines and cards beyond the limit are skipped.
std::vector<ContactPerson> parseVCards(std::string_view text);

class ContactsProvider {
public:
    virtual ~ContactsProvider();

    // The person with the UID, or none.
    virtual std::optional<ContactPerson> personWithUID(std::string_view uid) const = 0;
    virtual std::vector<ContactPerson> people() const = 0;
    // Calls the handler whenever the people change.
    [[nodiscard]] virtual Subscription observeChanges(std::function<void()> handler) = 0;
    // The file that holds the person's card, for the user to edit it; none
    // for a provider that keeps no files.
    virtual std::optional<std::filesystem::path> cardFileOf(std::string_view) const { return std::nullopt; }
    // Reads the people again where they are kept, telling the observers of a
    // change; true when they were read again. Nothing for a provider that
    // always holds the latest.
    virtual bool reload() { return false; }
};

// The contacts of one folder of vCard files (*.vcf, *.vcard).
//
// Many address books write cards without a UID line. Such a card is known by
// its file instead, so that an owner can link to it and follow its changes:
// "file:<file name>" when the file holds no other card without UID, else
// "file:<file name>#<the card's name>". A card whose identity would be
// ambiguous (two such cards of one name in a file, or one that equals another
// card's UID but for case) gets none: better no link than the wrong person.
class VCardFolderContacts final : public ContactsProvider {
public:
    static constexpr std::string_view kFileIdentityPrefix = "file:";

    // Files larger than this, and files beyond the count, are not read.
    static constexpr std::uintmax_t kMaxFileBytes = 8u << 20;
    static constexpr std::size_t kMaxFiles = 10000;

    // $XDG_DATA_HOME/countinghouse/contacts (XDG_DATA_HOME only when absolute,
    // else ~/.local/share).
    static std::filesystem::path defaultFolder();

    // Reads the folder (a missing folder holds nobody).
    explicit VCardFolderContacts(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return mFolder; }

    // Reads the folder again when its files changed (names, sizes, times) and
    // then tells the observers. True when it read the folder again.
    bool reload() override;

    std::optional<ContactPerson> personWithUID(std::string_view uid) const override;
    std::vector<ContactPerson> people() const override { return mPeople; }
    [[nodiscard]] Subscription observeChanges(std::function<void()> handler) override;
    std::optional<std::filesystem::path> cardFileOf(std::string_view uid) const override;

private:
    struct FileStamp {
        std::string name;
        std::uintmax_t size = 0;
        std::int64_t modified = 0;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    std::vector<FileStamp> scan() const;
    void read(const std::vector<FileStamp>& files);

    std::filesystem::path mFolder;
    std::vector<FileStamp> mStamps;
    std::vector<ContactPerson> mPeople;
    std::unordered_map<std::string, std::size_t> mByUid;
    std::unordered_map<std::string, std::string> mFileByUid;
    Observable mChanges;
};

} // namespace ch
