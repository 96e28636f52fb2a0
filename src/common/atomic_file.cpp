#include "common/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

namespace kinship {

namespace {

Failure describe(const std::string& what, const std::string& path, int error)
{
    return Failure{what + " " + path + ": " + std::strerror(error)};
}

bool write_all(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string folder_of(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file `path` names once symbolic links are followed (it need not exist), or a
// failure when the links go round.
Result<std::string> follow_links(const std::string& link)
{
    std::string path = link;
    constexpr int max_links = 40; // as the kernel allows when it follows them
    for (int hop = 0; hop < max_links; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return path;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.starts_with('/') ? target : folder_of(path) + target;
    }
    return describe("cannot create", link, ELOOP);
}

// Creates a new file beside `target` whose name fits the file-name length limit, with
// the given mode (less the umask). Returns its descriptor and name, or -1 with errno set.
int create_temporary(const std::string& target, mode_t mode, std::string& name)
{
    constexpr std::string_view suffix = ".tmp-XXXXXX";
    constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::string folder = folder_of(target);
    const std::string base = target.substr(folder.size(), NAME_MAX - suffix.size());
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + base + ".tmp-";
        for (int i = 0; i < 6; ++i) {
            name.push_back(letters[pick(random)]);
        }
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

Result<AtomicFile> AtomicFile::create(const std::string& path)
{
    Result<std::string> followed = follow_links(path);
    if (!followed) {
        return followed.failure();
    }
    std::string target = std::move(followed).value();
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) { // the rename would fail, after all the writing
        return describe("cannot replace", path, EISDIR);
    }
    const bool keep_mode = exists && S_ISREG(existing.st_mode);

    std::string temporary;
    const int fd = create_temporary(target, 0666, temporary);
    if (fd < 0) {
        return describe("cannot create", path, errno);
    }
    AtomicFile file(path, std::move(target), std::move(temporary), fd);
    if (keep_mode && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        file.write_error_ = errno;
    }
    return file;
}

AtomicFile::AtomicFile(std::string path, std::string target, std::string temporary, int fd)
    : path_(std::move(path)), target_(std::move(target)), temporary_(std::move(temporary)),
      fd_(fd)
{
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : path_(std::move(other.path_)), target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)), fd_(std::exchange(other.fd_, -1)),
      write_error_(other.write_error_), written_(other.written_),
      buffer_(std::move(other.buffer_))
{
}

AtomicFile::~AtomicFile()
{
    remove_temporary();
}

void AtomicFile::remove_temporary()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
        fd_ = -1;
    }
}

void AtomicFile::write_if_full()
{
    constexpr std::size_t full = std::size_t{1} << 16;
    if (buffer_.size() >= full) {
        write({});
    }
}

void AtomicFile::write(std::string_view text)
{
    for (const std::string_view piece : {std::string_view(buffer_), text}) {
        if (write_error_ != 0 || piece.empty()) {
            continue;
        }
        // The piece's disk space is reserved first. Left to itself, ext4 allocates the
        // blocks later, and at the latest when the file is renamed over an existing one,
        // which then took as long as writing the file. File systems that cannot reserve
        // space just get the write; a full disk fails here.
        if (::fallocate(fd_, 0, static_cast<off_t>(written_), static_cast<off_t>(piece.size())) !=
                0 &&
            errno == ENOSPC) {
            write_error_ = ENOSPC;
        } else if (!write_all(fd_, piece)) {
            write_error_ = errno;
        }
        written_ += piece.size();
    }
    buffer_.clear();
}

Status AtomicFile::commit()
{
    write({});
    // No fsync: the files are derived, a rerun makes them again, and waiting for the disk
    // took 1 to 10 ms per file, as long as the rest of the step. Other programs, and a
    // crash of this one, still see either the old file or the whole new one. After a power
    // cut, ext4 and btrfs keep that for a file renamed over an existing one; a file that
    // did not exist before may come back empty.
    const int fd = std::exchange(fd_, -1);
    if (write_error_ == 0 && ::close(fd) != 0) {
        write_error_ = errno;
    } else if (write_error_ != 0) {
        ::close(fd);
    }
    if (write_error_ != 0) {
        ::unlink(temporary_.c_str());
        return describe("cannot write", path_, write_error_);
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary_.c_str());
        return describe("cannot replace", path_, error);
    }
    return done;
}

Status write_file_atomically(const std::string& path, std::string_view content)
{
    Result<AtomicFile> file = AtomicFile::create(path);
    if (!file) {
        return file.failure();
    }
    file.value().write(content);
    return file.value().commit();
}

} // namespace kinship
