#include "platform/core/contacts_provider.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

#include "platform/core/text_encoding.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

// Bounds against hostile files: far above what a real address book holds.
constexpr std::size_t kMaxCards = 50000;
constexpr std::size_t kMaxEntriesPerList = 1000;
constexpr std::size_t kMaxNesting = 8;

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool equalsAsciiNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && lowerAscii(a) == lowerAscii(b);
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Physical lines, whatever the line ends (CRLF, LF or CR).
std::vector<std::string_view> physicalLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The position of the first `separator` outside double quotes, or npos.
std::size_t findUnquoted(std::string_view text, char separator, std::size_t from = 0)
{
    bool quoted = false;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '"') quoted = !quoted;
        else if (text[i] == separator && !quoted) return i;
    }
    return std::string_view::npos;
}

bool isQuotedPrintableLine(std::string_view line)
{
    const std::size_t colon = findUnquoted(line, ':');
    if (colon == std::string_view::npos) return false;
    return lowerAscii(line.substr(0, colon)).find("quoted-printable") != std::string::npos;
}

// Logical lines: folded continuations (a leading blank) joined, and the soft
// line breaks of quoted-printable values joined.
std::vector<std::string> logicalLines(std::string_view text)
{
    std::vector<std::string> lines;
    for (std::string_view physical : physicalLines(text)) {
        if (!lines.empty() && !physical.empty() && (physical.front() == ' ' || physical.front() == '\t')) {
            lines.back().append(physical.substr(1));
            continue;
        }
        if (!lines.empty() && !lines.back().empty() && lines.back().back() == '=' &&
            isQuotedPrintableLine(lines.back())) {
            lines.back().pop_back();
            lines.back().append(physical);
            continue;
        }
        lines.emplace_back(physical);
    }
    return lines;
}

struct ContentLine {
    std::string name;                         // lower case, without group
    std::vector<std::string> types;           // lower case
    std::string encoding;                     // lower case
    bool preferred = false;
    std::string_view value;
};

std::string_view unquote(std::string_view text)
{
    text = trim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return text;
}

void addTypes(std::vector<std::string>& types, std::string_view list, bool& preferred)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = findUnquoted(list, ',', start);
        if (comma == std::string_view::npos) comma = list.size();
        const std::string type = lowerAscii(unquote(list.substr(start, comma - start)));
        if (type == "pref") preferred = true;
        else if (!type.empty() && types.size() < 16) types.push_back(type);
        start = comma + 1;
    }
}

std::optional<ContentLine> parseContentLine(std::string_view line)
{
    const std::size_t colon = findUnquoted(line, ':');
    if (colon == std::string_view::npos) return std::nullopt;
    ContentLine content;
    content.value = line.substr(colon + 1);
    std::string_view head = line.substr(0, colon);

    std::size_t semicolon = findUnquoted(head, ';');
    std::string_view name = head.substr(0, std::min(semicolon, head.size()));
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(dot + 1);
    content.name = lowerAscii(trim(name));
    if (content.name.empty()) return std::nullopt;

    while (semicolon != std::string_view::npos) {
        const std::size_t start = semicolon + 1;
        semicolon = findUnquoted(head, ';', start);
        const std::string_view parameter =
            head.substr(start, (semicolon == std::string_view::npos ? head.size() : semicolon) - start);
        const std::size_t equals = parameter.find('=');
        if (equals == std::string_view::npos) {
            // vCard 2.1: a bare word is a type or an encoding.
            const std::string word = lowerAscii(trim(parameter));
            if (word == "quoted-printable" || word == "base64" || word == "b") content.encoding = word;
            else addTypes(content.types, word, content.preferred);
            continue;
        }
        const std::string key = lowerAscii(trim(parameter.substr(0, equals)));
        const std::string_view value = parameter.substr(equals + 1);
        if (key == "type") addTypes(content.types, value, content.preferred);
        else if (key == "pref") content.preferred = true;
        else if (key == "encoding") content.encoding = lowerAscii(unquote(value));
    }
    return content;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string decodeQuotedPrintable(std::string_view text)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
            hexDigit(text[i + 2]) >= 0) {
            decoded.push_back(static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
            i += 2;
        } else {
            decoded.push_back(text[i]);
        }
    }
    return decoded;
}

int base64Digit(char c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+' || c == '-') return 62;
    if (c == '/' || c == '_') return 63;
    return -1;
}

// Characters outside the alphabet (blanks, padding) are skipped.
std::vector<std::uint8_t> decodeBase64(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t buffer = 0;
    int bits = 0;
    for (char c : text) {
        const int digit = base64Digit(c);
        if (digit < 0) continue;
        buffer = (buffer << 6) | static_cast<std::uint32_t>(digit);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<std::uint8_t>((buffer >> bits) & 0xFF));
        }
    }
    return bytes;
}

// The text value with its escapes resolved (\n, \, \; \\).
std::string unescapeText(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result.push_back(text[i]);
            continue;
        }
        const char next = text[++i];
        result.push_back(next == 'n' || next == 'N' ? '\n' : next);
    }
    return result;
}

// The components of a structured value (separated by unescaped ';'), unescaped.
std::vector<std::string> components(std::string_view text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '\\') {
            ++i;
            continue;
        }
        if (i == text.size() || text[i] == ';') {
            parts.push_back(unescapeText(text.substr(start, i - start)));
            start = i + 1;
            if (parts.size() >= 16) break;
        }
    }
    return parts;
}

std::string component(const std::vector<std::string>& parts, std::size_t index)
{
    return index < parts.size() ? std::string(trim(parts[index])) : std::string();
}

void applyProperty(ContactPerson& person, const ContentLine& line)
{
    const std::string decoded =
        line.encoding == "quoted-printable" ? decodeQuotedPrintable(line.value) : std::string(line.value);
    const std::string_view value = decoded;

    if (line.name == "uid") {
        person.uid = std::string(trim(unescapeText(value)));
    } else if (line.name == "n") {
        const std::vector<std::string> parts = components(value);
        person.lastName = component(parts, 0);
        person.firstName = component(parts, 1);
    } else if (line.name == "fn") {
        person.formattedName = std::string(trim(unescapeText(value)));
    } else if (line.name == "org") {
        person.organization = component(components(value), 0);
    } else if (line.name == "x-abshowas") {
        if (equalsAsciiNoCase(trim(value), "COMPANY")) person.flags = ContactPerson::kShowAsCompany;
    } else if (line.name == "kind") {
        const std::string kind = lowerAscii(trim(value));
        if (kind == "org" || kind == "organization") person.flags = ContactPerson::kShowAsCompany;
    } else if (line.name == "tel" || line.name == "email") {
        std::vector<ContactValue>& list = line.name == "tel" ? person.phones : person.emails;
        if (list.size() >= kMaxEntriesPerList) return;
        std::string text(trim(unescapeText(value)));
        if (line.name == "tel" && lowerAscii(std::string_view(text).substr(0, 4)) == "tel:") text.erase(0, 4);
        if (line.name == "email" && lowerAscii(std::string_view(text).substr(0, 7)) == "mailto:") text.erase(0, 7);
        if (text.empty()) return;
        list.push_back({line.types, std::move(text), line.preferred});
    } else if (line.name == "adr") {
        if (person.addresses.size() >= kMaxEntriesPerList) return;
        const std::vector<std::string> parts = components(value);
        ContactAddress address;
        address.types = line.types;
        address.preferred = line.preferred;
        address.poBox = component(parts, 0);
        address.extended = component(parts, 1);
        address.street = component(parts, 2);
        address.city = component(parts, 3);
        address.region = component(parts, 4);
        address.postalCode = component(parts, 5);
        address.country = component(parts, 6);
        const bool empty = address.poBox.empty() && address.extended.empty() && address.street.empty() &&
                           address.city.empty() && address.region.empty() && address.postalCode.empty() &&
                           address.country.empty();
        if (empty) return;
        person.addresses.push_back(std::move(address));
    } else if (line.name == "photo") {
        if (line.encoding == "b" || line.encoding == "base64") {
            person.imageData = decodeBase64(value);
        } else if (lowerAscii(value.substr(0, 5)) == "data:") {
            // data:[type][;base64],bytes
            const std::size_t comma = value.find(',');
            if (comma != std::string_view::npos &&
                lowerAscii(value.substr(0, comma)).find(";base64") != std::string::npos)
                person.imageData = decodeBase64(value.substr(comma + 1));
        }
    }
}

// Many programs write a company's card with an empty N, the company in FN
// and ORG: it shows as the company. A card with only FN is named by it.
void completeNames(ContactPerson& person)
{
    if (!person.lastName.empty() || !person.firstName.empty()) return;
    if (!person.organization.empty()) person.flags = ContactPerson::kShowAsCompany;
    else person.lastName = person.formattedName;
}

template <class Entry>
const Entry* primaryOf(const std::vector<Entry>& entries)
{
    if (entries.empty()) return nullptr;
    for (const Entry& entry : entries)
        if (entry.preferred) return &entry;
    return &entries.front();
}

std::filesystem::path homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return std::filesystem::current_path();
}

bool isVCardFile(const std::filesystem::path& path)
{
    const std::string extension = lowerAscii(path.extension().string());
    return extension == ".vcf" || extension == ".vcard";
}

} // namespace

// --- values

bool ContactValue::hasType(std::string_view type) const
{
    return std::find(types.begin(), types.end(), lowerAscii(type)) != types.end();
}

const ContactValue* ContactPerson::primaryPhone() const
{
    return primaryOf(phones);
}

const ContactValue* ContactPerson::primaryEmail() const
{
    return primaryOf(emails);
}

const ContactAddress* ContactPerson::primaryAddress() const
{
    return primaryOf(addresses);
}

const ContactValue* ContactPerson::faxNumber() const
{
    for (const ContactValue& phone : phones)
        if (phone.isHomeFax()) return &phone;
    for (const ContactValue& phone : phones)
        if (phone.isWorkFax()) return &phone;
    return nullptr;
}

std::string formatAddress(const ContactAddress& address)
{
    std::vector<std::string> lines;
    for (const std::string* part : {&address.street, &address.extended, &address.poBox})
        if (!part->empty()) lines.push_back(*part);
    std::string cityLine = address.postalCode;
    if (!address.city.empty()) cityLine += (cityLine.empty() ? "" : " ") + address.city;
    if (!cityLine.empty()) lines.push_back(cityLine);
    if (!address.region.empty()) lines.push_back(address.region);
    if (!address.country.empty()) lines.push_back(address.country);
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

std::vector<ContactPerson> parseVCards(std::string_view bytes)
{
    // vCards are UTF-8; older exports use the Windows code page.
    std::string text(bytes);
    if (!isValidUtf8(text)) text = decode(bytes, encoding::windowsLatin1).value_or(std::string());

    std::vector<ContactPerson> people;
    std::optional<ContactPerson> current;
    std::size_t depth = 0;
    for (const std::string& logical : logicalLines(text)) {
        const std::optional<ContentLine> line = parseContentLine(logical);
        if (!line) continue;
        if (line->name == "begin" && equalsAsciiNoCase(trim(line->value), "VCARD")) {
            if (depth == 0) current.emplace();
            // A card inside a card (AGENT) is not a person of its own.
            if (++depth > kMaxNesting) return people;
            continue;
        }
        if (line->name == "end" && equalsAsciiNoCase(trim(line->value), "VCARD")) {
            if (depth == 0) continue;
            if (--depth == 0 && current) {
                completeNames(*current);
                people.push_back(std::move(*current));
                current.reset();
                if (people.size() >= kMaxCards) return people;
            }
            continue;
        }
        if (depth == 1 && current) applyProperty(*current, *line);
    }
    return people;
}

// --- providers

ContactsProvider::~ContactsProvider() = default;

std::filesystem::path VCardFolderContacts::defaultFolder()
{
    // Only an absolute XDG_DATA_HOME counts, as the XDG rules say.
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') base = xdg;
    else base = homeFolder() / ".local" / "share";
    return base / "countinghouse" / "contacts";
}

VCardFolderContacts::VCardFolderContacts(std::filesystem::path folder) : mFolder(std::move(folder))
{
    mStamps = scan();
    read(mStamps);
}

std::vector<VCardFolderContacts::FileStamp> VCardFolderContacts::scan() const
{
    std::vector<FileStamp> stamps;
    std::error_code error;
    std::filesystem::directory_iterator it(mFolder, error);
    if (error) return stamps;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(error)) {
        if (error) break;
        const std::filesystem::directory_entry& entry = *it;
        std::error_code entryError;
        if (!entry.is_regular_file(entryError) || entryError || !isVCardFile(entry.path())) continue;
        FileStamp stamp;
        stamp.name = entry.path().filename().string();
        stamp.size = entry.file_size(entryError);
        if (entryError) continue;
        const auto written = entry.last_write_time(entryError);
        if (!entryError) stamp.modified = written.time_since_epoch().count();
        stamps.push_back(std::move(stamp));
        if (stamps.size() >= kMaxFiles) break;
    }
    // The directory's own order is arbitrary; a person's first file wins.
    std::sort(stamps.begin(), stamps.end(), [](const FileStamp& a, const FileStamp& b) { return a.name < b.name; });
    return stamps;
}

namespace {

// The name a card without UID is told apart by within its file.
std::string cardName(const ContactPerson& person)
{
    if (!person.formattedName.empty()) return person.formattedName;
    std::string name = person.firstName;
    if (!name.empty() && !person.lastName.empty()) name += ' ';
    name += person.lastName;
    return name.empty() ? person.organization : name;
}

// Gives the cards of one file without UID the identity of their file.
void identifyByFile(std::vector<ContactPerson>& cards, const std::string& fileName)
{
    std::vector<ContactPerson*> unnamed;
    for (ContactPerson& person : cards)
        if (person.uid.empty()) unnamed.push_back(&person);
    const std::string file = std::string(VCardFolderContacts::kFileIdentityPrefix) + fileName;
    if (unnamed.size() == 1) {
        unnamed.front()->uid = file;
        return;
    }
    std::map<std::string, int> names;
    for (const ContactPerson* person : unnamed) ++names[cardName(*person)];
    for (ContactPerson* person : unnamed) {
        const std::string name = cardName(*person);
        if (!name.empty() && names[name] == 1) person->uid = file + "#" + name;
    }
}

} // namespace

void VCardFolderContacts::read(const std::vector<FileStamp>& files)
{
    mPeople.clear();
    mByUid.clear();
    mFileByUid.clear();
    std::vector<std::pair<std::vector<ContactPerson>, std::string>> read;
    for (const FileStamp& file : files) {
        if (file.size > kMaxFileBytes) continue;
        std::ifstream in(mFolder / file.name, std::ios::binary);
        if (!in) continue;
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(file.size));
        // Read no more than the limit even if the file grew since the scan.
        std::istreambuf_iterator<char> begin(in), end;
        for (; begin != end && bytes.size() <= kMaxFileBytes; ++begin) bytes.push_back(*begin);
        if (bytes.size() > kMaxFileBytes) continue;
        read.emplace_back(parseVCards(bytes), file.name);
    }
    // Owners find their card by its UID without regard to case: an identity
    // given by the folder that another card's shares that way is dropped.
    const auto lessNoCase = [](const std::string& a, const std::string& b) { return compareCaseInsensitive(a, b) < 0; };
    std::multiset<std::string, decltype(lessNoCase)> identities(lessNoCase);
    std::vector<std::vector<bool>> given;
    for (auto& [cards, fileName] : read) {
        std::vector<bool>& byFile = given.emplace_back(cards.size());
        for (std::size_t i = 0; i < cards.size(); ++i) byFile[i] = cards[i].uid.empty();
        identifyByFile(cards, fileName);
        for (const ContactPerson& person : cards)
            if (!person.uid.empty()) identities.insert(person.uid);
    }
    for (std::size_t f = 0; f < read.size(); ++f) {
        auto& [cards, fileName] = read[f];
        for (std::size_t i = 0; i < cards.size(); ++i) {
            ContactPerson& person = cards[i];
            if (given[f][i] && identities.count(person.uid) > 1) person.uid.clear();
            if (!person.uid.empty()) {
                mByUid.emplace(person.uid, mPeople.size());
                mFileByUid.emplace(person.uid, fileName);
            }
            mPeople.push_back(std::move(person));
        }
    }
}

std::optional<std::filesystem::path> VCardFolderContacts::cardFileOf(std::string_view uid) const
{
    const auto found = mFileByUid.find(std::string(uid));
    if (found == mFileByUid.end()) return std::nullopt;
    return mFolder / found->second;
}

bool VCardFolderContacts::reload()
{
    std::vector<FileStamp> stamps = scan();
    if (stamps == mStamps) return false;
    read(stamps);
    mStamps = std::move(stamps);
    mChanges.announce("people");
    return true;
}

std::optional<ContactPerson> VCardFolderContacts::personWithUID(std::string_view uid) const
{
    auto found = mByUid.find(std::string(uid));
    if (found == mByUid.end()) return std::nullopt;
    return mPeople[found->second];
}

Subscription VCardFolderContacts::observeChanges(std::function<void()> handler)
{
    return mChanges.observe([handler = std::move(handler)](Observable&, const std::string&) {
        if (handler) handler();
    });
}

} // namespace ch
