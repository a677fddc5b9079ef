#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <sys/types.h>

#include <utility>

// The small steps over the system calls that the platform's file code takes again and again.
// Paths here are the bytes the system takes (PathCodec::encode gives them); results are 0 or
// an errno value unless a function says otherwise.
namespace Posix {

// Owns a file descriptor and closes it when it goes out of scope. Closing at scope end keeps
// errno as it was, so that a caller's error survives the clean-up; close() reports its own.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(other.release()) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // Gives the descriptor up without closing it.
    int release() { return std::exchange(m_fd, -1); }
    // False when closing reports an error (errno tells which): some filesystems report a full
    // disk only here.
    bool close();

private:
    int m_fd = -1;
};

// One read(2), started again when a signal interrupts it: what it read, 0 at the end, -1 with
// errno set.
ssize_t readSome(int fd, void *buffer, size_t size);
// Writes all of data at the descriptor's position, through short writes and interrupts.
int writeAll(int fd, QByteArrayView data);
// Writes all of data at offset (pwrite), leaving the descriptor's position alone.
int writeAllAt(int fd, QByteArrayView data, off_t offset);

// Copies everything from in to out, each from its position on: copy_file_range, else
// sendfile, else plain reads and writes (some pseudo files report no data through the first).
int copyData(int in, int out);

// Creates a new file from pathTemplate, whose last six characters "XXXXXX" become letters and
// digits that make a name not taken yet (as mkostemp does, but with mode, which the umask and
// a folder's default access list then narrow, as for any new file). The descriptor (close on
// exec), or -1 with errno set; pathTemplate holds the name made.
int createUnique(QByteArray &pathTemplate, mode_t mode);

// Renames from to to, but never replaces what is at to, of any kind: EEXIST then. Where the
// filesystem does not know RENAME_NOREPLACE, to is checked by hand before a plain rename.
int renameNoReplace(const QByteArray &from, const QByteArray &to);

// The same rules as PathHelper's, on bytes: "/"-separated, a trailing "/" is not a component.
// folder + "/" + name, without doubling the "/" of a folder that already ends in one.
QByteArray join(const QByteArray &folder, const QByteArray &name);
// The folder that holds path; "/" for "/ab", for "/" itself and for a bare name.
QByteArray parentOf(const QByteArray &path);
// The last component of path; "" for "/".
QByteArray baseName(const QByteArray &path);

} // namespace Posix
