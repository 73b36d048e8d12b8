#pragma once
// GXLogger: an append-only text file. The file is opened at the first write
// and stays open until the logger is released, renamed or destroyed. A file
// the logger creates is readable and writable by its owner only: it holds
// every recent edit of a set of books in plain text.
//
// A write that fails (the disk is full, an input/output error) or a file
// that cannot be made is remembered (writeError), and nothing more is
// written: what followed half an entry could not be read back. What stands at
// the file's name and is no regular file (a folder, a pipe, a device, a loop
// of links) is never written to; the logger says so (otherThanAFile).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/atomic_file.h"

namespace ch {

// How a journal is moved to another name (put aside, made the backup): 0, or
// -1 with errno set, as rename(). A process-wide seam, so that tests can make
// a move fail where the system would not (root may rename anything).
using MoveFile = std::function<int(const std::string& from, const std::string& to)>;
// Empty: rename(). Answers the move that was set before.
MoveFile setJournalMove(MoveFile move);
int moveJournalFile(const std::string& from, const std::string& to);

class GXLogger {
public:
    GXLogger() = default;
    explicit GXLogger(std::string fileName);
    virtual ~GXLogger();
    GXLogger(const GXLogger&) = delete;
    GXLogger& operator=(const GXLogger&) = delete;

    // Nothing when equal to the current name; otherwise the open file is
    // closed and the new name kept.
    void setLogFileName(std::string fileName);
    const std::string& logFileName() const { return mLogFileName; }

    // Appends the text's bytes, opening the file first when needed (a new
    // file receives initialString first).
    void logString(std::string_view text);
    // Flushes the open file to disk and closes it.
    void releaseLogFile();
    // Flushes the open file to disk (through `sync`, ::fsync when empty): 0,
    // or the system's error number. 0 when no file is open.
    int syncLogFile(const SyncFile& sync = {});
    // Whether a write found something other than a regular file at the name.
    bool otherThanAFile() const { return mOtherThanAFile; }
    // The system's error number of the first write or opening that failed;
    // 0 while none has.
    int writeError() const { return mWriteError; }
    // How bytes are written (tests make it fail); empty: write().
    void setWrite(WriteBytes write) { mWrite = std::move(write); }
    // Closes the file; then, with a name: the old backup is deleted and the
    // file becomes the backup, so that no journal remains.
    void clearLogFile();
    // The file's size now; 0 when there is none.
    std::uintmax_t logFileLength() const;
    // Closes the file and takes it back to its first `length` bytes, so that
    // what was written after them is gone; 0 leaves no file at all.
    void truncateLogFile(std::uintmax_t length);

protected:
    // What a new file begins with; none here.
    virtual std::optional<std::string> initialString() const { return std::nullopt; }

private:
    // The open file's descriptor, opening (and creating) it when needed; -1
    // when it cannot be opened.
    int logFileHandle();

    std::string mLogFileName;
    int mLogFileHandle = -1;
    bool mOtherThanAFile = false;
    int mWriteError = 0;
    WriteBytes mWrite;
};

} // namespace ch
