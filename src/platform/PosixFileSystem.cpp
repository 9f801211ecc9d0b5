#include "platform/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace tovrimo {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool Fail(std::string* error, int err)
{
    if (error) *error = std::strerror(err);
    return false;
}

bool WriteAll(int fd, const std::string& content)
{
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// The file a path names, following a symbolic link, so that replacing it keeps the link.
std::string ResolveTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

constexpr std::string_view kTemporaryMark = ".tmp-";

std::string TemporaryName(const std::string& target, int attempt)
{
    return target + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" +
           std::to_string(attempt);
}

// The process id in a temporary file's name "<file>.tmp-<pid>-<n>", or 0 when `name` is not
// one of `file`'s temporary files.
pid_t WriterOf(std::string_view name, std::string_view file)
{
    if (name.size() <= file.size() + kTemporaryMark.size() || name.substr(0, file.size()) != file ||
        name.substr(file.size(), kTemporaryMark.size()) != kTemporaryMark)
        return 0;
    name.remove_prefix(file.size() + kTemporaryMark.size());
    const size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size()) return 0;
    long long pid = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (i == dash) continue;
        if (c < '0' || c > '9') return 0;
        if (i < dash && (pid = pid * 10 + (c - '0')) > INT_MAX) return 0;
    }
    return static_cast<pid_t>(pid);
}

}  // namespace

bool PosixFileSystem::exists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::optional<std::string> PosixFileSystem::storedName(const std::string& folder,
                                                       const std::string& name)
{
    struct CloseDir {
        void operator()(DIR* d) const { ::closedir(d); }
    };
    std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.c_str()));
    if (!dir) return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string stored = entry->d_name;
        if (stored == name) return stored;
        // readdir's order is arbitrary: take the smallest of several candidates, so the
        // answer does not change from one call to the next.
        if (SameIgnoringCase(stored, name) && (!found || stored < *found)) found = stored;
    }
    return found;
}

std::optional<std::string> PosixFileSystem::readAll(const std::string& path, std::string* error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return std::nullopt;
    }
    std::string content;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            if (error) *error = std::strerror(err);
            errno = err;
            return std::nullopt;
        }
        content.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return content;
}

bool PosixFileSystem::writeAtomically(const std::string& path, const std::string& content,
                                      std::string* error)
{
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;

    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = TemporaryName(target, attempt);
        // 0666 minus the umask, as any new file; a replaced file keeps its own permissions.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt >= 100)) return Fail(error, errno);
    }

    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        return Fail(error, err);
    };
    if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0) return abandon(errno);
    if (!WriteAll(fd, content)) return abandon(errno);
    if (::fsync(fd) != 0) return abandon(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return Fail(error, err);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return Fail(error, err);
    }

    // The new content is in place; making the rename itself durable is best effort, since the
    // old file cannot be brought back if it fails.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool PosixFileSystem::copyFile(const std::string& from, const std::string& to, std::string* error)
{
    const std::optional<std::string> content = readAll(from);
    if (!content) return Fail(error, errno);
    return writeAtomically(to, *content, error);
}

bool PosixFileSystem::remove(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

void PosixFileSystem::removeAbandonedWrites(const std::string& path)
{
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);
    const std::string file = target.substr(target.rfind('/') + 1);
    struct CloseDir {
        void operator()(DIR* d) const { ::closedir(d); }
    };
    std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.c_str()));
    if (!dir) return;
    std::vector<std::string> abandoned;
    while (const dirent* entry = ::readdir(dir.get())) {
        const pid_t writer = WriterOf(entry->d_name, file);
        if (writer <= 0) continue;
        // This process has no write under way while it looks; another one may (a command-line
        // job beside the resident program). A process id that was taken again by an unrelated
        // process only delays the clean-up to a later start.
        if (writer != ::getpid() && (::kill(writer, 0) == 0 || errno != ESRCH)) continue;
        abandoned.push_back(folder + "/" + entry->d_name);
    }
    for (const std::string& name : abandoned) {
        struct stat st {};
        if (::lstat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(name.c_str());
    }
}

}  // namespace tovrimo
