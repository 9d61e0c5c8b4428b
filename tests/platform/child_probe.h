#pragma once
// Runs a piece of work in a forked child and reports what came of it: its answer (a
// line of text), how much its resident memory grew at the peak, the processor time it
// used, and whether it died. A reader that exhausts memory or crashes takes only the
// child down. Processor time, unlike the wall clock, does not stretch on a busy machine.
#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kuvela::test {

struct ChildOutcome {
    bool finished = false;   // exited normally, not killed or timed out
    QString answer;          // what the work returned
    long peakGrowthKiB = -1; // peak resident size above the size when the work began
    double cpuSeconds = 0;    // user and system time of the whole child
};

inline long statusKiB(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(prefix, 0) == 0)
            return std::stol(line.substr(prefix.size()));
    return -1;
}

// True when this build runs under AddressSanitizer, whose shadow memory and
// quarantine make resident sizes and times meaningless as bounds.
constexpr bool underSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

template <class Work>
ChildOutcome runInChild(Work work, int timeoutMs = 60000)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        // Peak resident size counts from here ("5": reset the high-water mark).
        { std::ofstream("/proc/self/clear_refs") << "5"; }
        const long before = statusKiB("VmRSS");
        const QString answer = work();
        const long peak = statusKiB("VmHWM");
        const QByteArray out = QByteArray::number(qlonglong(peak - before)) + ' ' + answer.toUtf8();
        for (qsizetype sent = 0; sent < out.size();) {
            const ssize_t n = ::write(fds[1], out.constData() + sent, size_t(out.size() - sent));
            if (n <= 0)
                break;
            sent += n;
        }
        ::close(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildOutcome outcome;
    QByteArray got;
    QElapsedTimer waited;
    waited.start();
    char buffer[4096];
    for (;;) {
        pollfd p{fds[0], POLLIN, 0};
        const int left = int(timeoutMs - waited.elapsed());
        if (left <= 0 || ::poll(&p, 1, left) <= 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, qsizetype(n));
    }
    ::close(fds[0]);
    int status = 0;
    rusage used{};
    while (::wait4(pid, &status, 0, &used) < 0 && errno == EINTR) {
    }
    outcome.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    outcome.cpuSeconds = seconds(used.ru_utime) + seconds(used.ru_stime);
    const qsizetype a = got.indexOf(' ');
    if (outcome.finished && a > 0) {
        outcome.peakGrowthKiB = got.left(a).toLong();
        outcome.answer = QString::fromUtf8(got.mid(a + 1));
    }
    return outcome;
}

} // namespace kuvela::test
