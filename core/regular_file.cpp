#include "core/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace celestra {

namespace {

constexpr size_t kLineReadChunk = 64 * 1024;

int fail(InputFileError& error, InputFileStatus status, std::string reason) {
    error.status = status;
    error.reason = std::move(reason);
    return -1;
}

// What a file that is not regular is, for the message.
std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "is a directory";
    if (S_ISFIFO(mode)) return "is a named pipe (FIFO)";
    if (S_ISCHR(mode)) return "is a character device";
    if (S_ISBLK(mode)) return "is a block device";
    if (S_ISSOCK(mode)) return "is a socket";
    return "is not a regular file";
}

std::string sizeText(uint64_t bytes) {
    if (bytes % (uint64_t{1} << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    if (bytes % 1024 == 0) return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

int failErrno(InputFileError& error, int code) {
    if (code == ENOENT || code == ENOTDIR) return fail(error, InputFileStatus::Missing, "does not exist");
    if (code == ELOOP) return fail(error, InputFileStatus::Unreadable, "is a loop of symbolic links");
    return fail(error, InputFileStatus::Unreadable, std::string("cannot be opened (") + std::strerror(code) + ")");
}

// The checks shared by stat() and fstat(): regular, and within the limit.
int checkStat(const struct stat& st, uint64_t maxBytes, InputFileError& error) {
    if (!S_ISREG(st.st_mode)) return fail(error, InputFileStatus::NotRegular, kindOf(st.st_mode));
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    if (maxBytes != 0 && size > maxBytes)
        return fail(error, InputFileStatus::TooLarge,
                    "is larger than the " + sizeText(maxBytes) + " allowed (" + std::to_string(size) + " bytes)");
    return 0;
}

}  // namespace

int openRegularFile(const std::string& path, uint64_t maxBytes, InputFileError& error, uint64_t* sizeBytes) {
    error = InputFileError{};
    if (path.empty()) return fail(error, InputFileStatus::Missing, "does not exist");
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return failErrno(error, errno);
    if (checkStat(st, maxBytes, error) != 0) return -1;
    // O_NONBLOCK: should the name now be a FIFO, open() returns at once.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failErrno(error, errno);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        const int code = errno;
        ::close(fd);
        return failErrno(error, code);
    }
    if (checkStat(opened, maxBytes, error) != 0) {
        ::close(fd);
        return -1;
    }
    if (sizeBytes) *sizeBytes = static_cast<uint64_t>(opened.st_size);
    return fd;
}

InputFileStatus readRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes,
                                InputFileError& error) {
    bytes.clear();
    uint64_t size = 0;
    const int fd = openRegularFile(path, maxBytes, error, &size);
    if (fd < 0) return error.status;
    bytes.resize(static_cast<size_t>(size));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int code = errno;
            ::close(fd);
            bytes.clear();
            fail(error, InputFileStatus::Unreadable, std::string("cannot be read (") + std::strerror(code) + ")");
            return error.status;
        }
        if (n == 0) break;  // shrank while being read: what is there
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    ::close(fd);
    return InputFileStatus::Ok;
}

Status statusOf(const InputFileError& error) {
    switch (error.status) {
        case InputFileStatus::Ok: return Status::Ok;
        case InputFileStatus::Missing: return Status::Missing;
        case InputFileStatus::Unreadable: return Status::IoError;
        case InputFileStatus::NotRegular:
        case InputFileStatus::TooLarge: break;
    }
    return Status::Damaged;
}

std::string inputFileMessage(const std::string& what, const std::string& path, const InputFileError& error) {
    return what + " " + path + " " + error.reason;
}

LineReader::LineReader(int fd, size_t maxLine) : fd_(fd), maxLine_(maxLine), buffer_(kLineReadChunk) {}

bool LineReader::fill() {
    // next() has taken every byte before it asks for more.
    begin_ = end_ = 0;
    while (true) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            errno_ = errno;
            return false;
        }
        if (n == 0) eof_ = true;
        end_ = static_cast<size_t>(n);
        return true;
    }
}

LineReader::Result LineReader::next(std::string& line) {
    line.clear();
    bool tooLong = false;
    bool any = false;
    while (true) {
        const char* start = buffer_.data() + begin_;
        const void* newline = std::memchr(start, '\n', end_ - begin_);
        const size_t take = newline ? static_cast<size_t>(static_cast<const char*>(newline) - start) : end_ - begin_;
        if (take > 0) any = true;
        const size_t room = maxLine_ > line.size() ? maxLine_ - line.size() : 0;
        if (take > room) tooLong = true;
        line.append(start, take < room ? take : room);
        begin_ += take;
        if (newline) {
            ++begin_;
            break;
        }
        if (eof_) {
            if (!any) return Result::End;
            break;
        }
        if (!fill()) return Result::Error;
        if (eof_ && begin_ == end_ && !any) return Result::End;
    }
    if (!line.empty() && line.back() == '\r' && !tooLong) line.pop_back();
    return tooLong ? Result::TooLong : Result::Line;
}

}  // namespace celestra
