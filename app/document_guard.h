// What keeps the user's document safe around the atomic save: one program
// at a time writes it (a lock held for the program's life), a file this
// program cannot read is never written over (it is kept, or moved aside
// when the user agrees), and what an interrupted save left behind is
// cleared at the next start.
#pragma once

#include <sys/types.h>

#include <string>

#include "app/document.h"

namespace celestra {

// A document or colour file that is there but is not one this program can
// read (another version, damaged, not a regular file, unreadable): the
// session never writes over it. Missing and Empty are not such files.
bool isKeptAsItIs(FileStatus status);

// What this session may write of its document's two files.
struct WriteAccess {
    bool readOnly = false;      // the document is open in another program: nothing is written
    bool keepDocument = false;  // the document could not be read: neither file is written
    bool keepColors = false;    // the colour file could not be read: it is not written
    bool mayWriteDocument() const { return !readOnly && !keepDocument; }
    bool mayWriteColors() const { return mayWriteDocument() && !keepColors; }
};

enum class SaveOutcome { Saved, NotAllowed, Failed };

// saveDocument within `access`: NotAllowed (nothing written, `error` says
// why in a few words) when the document may not be written; else the
// document, and the colour file unless it is kept. Failed with saveDocument's
// message.
SaveOutcome saveDocumentWithin(const WriteAccess& access, const std::string& path, const std::string& colorsPath,
                               const DocumentData& data, std::string& error);

// The lock on a document: an flock() on a file beside it, ".NAME.lock"
// (the document itself cannot carry it: the atomic save replaces its
// inode). The kernel drops the lock when its holder ends in any way, so a
// lock left by a crashed or killed program is simply taken over. The lock
// file stays in the folder: removing it could let a third program lock a
// new file while a second still holds the old one.
class DocumentLock {
public:
    enum class Result {
        Owned,          // this program holds it (also when it held it already)
        HeldElsewhere,  // another program holds it: holderPid() says which when it could be read
        Unavailable,    // no lock file can be made there (a read-only or missing folder): saving would fail too
    };
    DocumentLock() = default;
    ~DocumentLock();
    DocumentLock(DocumentLock&& other) noexcept;
    DocumentLock& operator=(DocumentLock&& other) noexcept;
    DocumentLock(const DocumentLock&) = delete;
    DocumentLock& operator=(const DocumentLock&) = delete;

    // Tries once, never waits. Releases a lock held on another document first.
    Result acquire(const std::string& documentPath);
    void release();
    bool owned() const { return fd_ >= 0; }
    // The process that holds the lock, as it wrote it into the lock file; 0 when unknown.
    pid_t holderPid() const { return holder_; }

    static std::string lockPathFor(const std::string& documentPath);

private:
    int fd_ = -1;
    pid_t holder_ = 0;
};

// Removes the temporaries an interrupted atomic save of `path` left: regular
// files named `path` + "." + six letters or digits (what mkstemp makes of
// ".XXXXXX"). Nothing else is touched: not another length, not another
// character, not a folder or a link. Call it only while holding the
// document's lock: another program's save may be in flight. Returns how
// many were removed.
int removeStaleTemporaries(const std::string& path);

// The name a kept file is moved aside to: "PATH.unreadable-DATE", then
// "PATH.unreadable-DATE-2", "-3", ... when that is taken. `date` as the
// caller writes it (YYYY-MM-DD).
std::string unreadableName(const std::string& path, const std::string& date);

// Today's date on the program's clock in the desktop's zone, YYYY-MM-DD: the
// DATE of a moved-aside file and of a suggested new document name.
std::string localDateText();

// Moves `path` aside to unreadableName(path, date) without replacing
// anything. Returns the new path, or "" with `error` saying why.
std::string moveAside(const std::string& path, const std::string& date, std::string& error);

}  // namespace celestra
