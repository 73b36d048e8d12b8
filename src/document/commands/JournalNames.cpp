#include "document/commands/JournalNames.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>

namespace ch {
namespace {

std::mutex& slotMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::set<int>& slotsInUse()
{
    static std::set<int> slots;
    return slots;
}

} // namespace

std::string journalPathForDocument(std::string_view documentPath)
{
    return std::string(documentPath) + ".log";
}

std::string backupPathForJournal(std::string_view journalPath)
{
    std::string_view stem = journalPath.substr(0, journalPath.size() >= 4 ? journalPath.size() - 4 : 0);
    return std::string(stem) + ".~log";
}

std::string setAsidePathForJournal(std::string_view journalPath)
{
    const std::string stem(journalPath.substr(0, journalPath.size() >= 4 ? journalPath.size() - 4 : 0));
    std::string path = stem + ".set-aside.~log";
    std::error_code error;
    for (int n = 2; std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found &&
                    n < 10000;
         ++n)
        path = stem + ".set-aside-" + std::to_string(n) + ".~log";
    return path;
}

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    return ".";
}

UntitledJournalSlot::~UntitledJournalSlot()
{
    release();
}

int UntitledJournalSlot::acquire()
{
    if (mNumber > 0) return mNumber;
    std::lock_guard lock(slotMutex());
    std::set<int>& slots = slotsInUse();
    int number = 1;
    while (slots.count(number)) ++number;
    slots.insert(number);
    mNumber = number;
    return mNumber;
}

void UntitledJournalSlot::release()
{
    if (mNumber <= 0) return;
    std::lock_guard lock(slotMutex());
    slotsInUse().erase(mNumber);
    mNumber = 0;
}

std::string UntitledJournalSlot::journalPath(std::string_view folder, int number)
{
    std::string path(folder);
    path += "/UntitledQVLDocument";
    if (number > 1) {
        path += '-';
        path += std::to_string(number);
    }
    path += ".log";
    return path;
}

} // namespace ch
