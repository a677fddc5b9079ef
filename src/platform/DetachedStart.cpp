#include "platform/DetachedStart.h"

#include "platform/LongPath.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"
#include "platform/Posix.h"

#include <QStandardPaths>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char **environ;

namespace {

// Where the program starts: a folder to change to by path, or one opened already (-1: none).
struct StartFolder
{
    const char *path = nullptr;
    int fd = -1;
};

// Only calls that are safe between fork and exec run in the children: everything they need
// is made before the first fork.
[[noreturn]] void runGrandchild(const char *program, char *const argv[], StartFolder folder, int reportFd)
{
    const bool entered = folder.fd >= 0 ? ::fchdir(folder.fd) == 0 : (!folder.path || ::chdir(folder.path) == 0);
    if (!entered) {
        const int error = errno;
        (void)!::write(reportFd, &error, sizeof error);
        ::_exit(127);
    }
    ::execve(program, argv, environ);
    const int error = errno;
    (void)!::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

} // namespace

namespace DetachedStart {

bool start(const QString &program, const QStringList &arguments, const QString &folder)
{
    if (program.isEmpty())
        return false;
    // A bare name is looked up on PATH now; a name with a folder is taken as it is.
    const QString resolved = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    if (resolved.isEmpty())
        return false;

    std::vector<QByteArray> bytes;
    bytes.push_back(PathCodec::encode(resolved));
    for (const QString &argument : arguments)
        bytes.push_back(PathCodec::encode(argument));
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const QByteArray folderBytes = PathCodec::encode(folder);

    // A folder too long for chdir (a deep search's result) is opened here a piece at a time and
    // entered by its descriptor; a program in it too long for execve is then started by its own
    // name in it. A long program elsewhere cannot be named to the system: it is not started.
    StartFolder startFolder{folder.isEmpty() ? nullptr : folderBytes.constData()};
    Posix::FileDescriptor folderFd;
    QByteArray execPath = bytes.front();
    if (!folder.isEmpty() && folderBytes.size() >= PATH_MAX) {
        folderFd = Posix::FileDescriptor(LongPath::open(folderBytes, O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!folderFd.isOpen())
            return false;
        startFolder.fd = folderFd.fd();
    }
    if (execPath.size() >= PATH_MAX) {
        if (!folderFd.isOpen() || PathHelper::parentOf(resolved) != folder)
            return false;
        execPath = "./" + PathCodec::encode(PathHelper::baseName(resolved));
    }

    // The grandchild reports a failed chdir or exec through the pipe; a successful exec
    // closes it unwritten.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    Posix::FileDescriptor reportRead(report[0]);
    Posix::FileDescriptor reportWrite(report[1]);
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        // The middle process ends at once, so the program is nobody's child to wait for.
        const pid_t grandchild = ::fork();
        if (grandchild == 0)
            runGrandchild(execPath.constData(), argv.data(), startFolder, reportWrite.fd());
        if (grandchild < 0) {
            const int error = errno;
            (void)!::write(reportWrite.fd(), &error, sizeof error);
        }
        ::_exit(0);
    }
    // Only the children hold the pipe's writing end now: the read below ends when they do.
    reportWrite.close();
    folderFd.close();
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    return Posix::readSome(reportRead.fd(), &error, sizeof error) == 0;
}

} // namespace DetachedStart
