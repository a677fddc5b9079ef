#include "platform/DetachedStart.h"

#include "platform/LongPath.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"

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
    QByteArray execPath = bytes.front();
    if (!folder.isEmpty() && folderBytes.size() >= PATH_MAX) {
        startFolder.fd = LongPath::open(folderBytes, O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (startFolder.fd < 0)
            return false;
    }
    const auto closeFolder = [&startFolder] {
        if (startFolder.fd >= 0)
            ::close(startFolder.fd);
    };
    if (execPath.size() >= PATH_MAX) {
        if (startFolder.fd < 0 || PathHelper::parentOf(resolved) != folder) {
            closeFolder();
            return false;
        }
        execPath = "./" + PathCodec::encode(PathHelper::baseName(resolved));
    }

    // The grandchild reports a failed chdir or exec through the pipe; a successful exec
    // closes it unwritten.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        closeFolder();
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        closeFolder();
        return false;
    }
    if (child == 0) {
        // The middle process ends at once, so the program is nobody's child to wait for.
        const pid_t grandchild = ::fork();
        if (grandchild == 0)
            runGrandchild(execPath.constData(), argv.data(), startFolder, report[1]);
        if (grandchild < 0) {
            const int error = errno;
            (void)!::write(report[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    closeFolder();
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n;
    while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return n == 0;
}

} // namespace DetachedStart
