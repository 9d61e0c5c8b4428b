#include "platform/webdriver_process.h"

#include "platform/clock.h"
#include "platform/webdriver_http.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QThread>

#include <map>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace kuvela {
namespace be = browser_error;

namespace {

int freeLocalPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

#ifdef Q_OS_LINUX
// pid -> parent pid of every process, read from /proc.
std::multimap<qint64, qint64> childrenByParent()
{
    std::multimap<qint64, qint64> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : entries) {
        bool ok = false;
        const qint64 pid = name.toLongLong(&ok);
        if (!ok)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // "pid (comm) state ppid ...": comm may hold blanks and parentheses.
        const qsizetype close = line.lastIndexOf(')');
        if (close < 0)
            continue;
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() > 1)
            children.emplace(fields[1].toLongLong(), pid);
    }
    return children;
}

void signalAll(const std::vector<qint64>& pids, int sig)
{
    for (qint64 p : pids)
        if (processAlive(p))
            ::kill(pid_t(p), sig);
}
#endif

} // namespace

std::vector<qint64> descendantProcesses(qint64 pid)
{
    std::vector<qint64> found;
#ifdef Q_OS_LINUX
    if (pid <= 0)
        return found;
    const auto children = childrenByParent();
    std::vector<qint64> todo{pid};
    while (!todo.empty()) {
        const qint64 parent = todo.back();
        todo.pop_back();
        auto [from, to] = children.equal_range(parent);
        for (auto it = from; it != to; ++it) {
            found.push_back(it->second);
            todo.push_back(it->second);
        }
    }
#else
    Q_UNUSED(pid);
#endif
    return found;
}

bool processAlive(qint64 pid)
{
#ifdef Q_OS_LINUX
    if (pid <= 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && line.size() > close + 2 && line[close + 2] != 'Z' && line[close + 2] != 'X';
#else
    Q_UNUSED(pid);
    return false;
#endif
}

DriverProcess::DriverProcess() = default;

DriverProcess::~DriverProcess() { stop(); }

bool DriverProcess::isRunning() const { return process_ && process_->state() != QProcess::NotRunning; }

qint64 DriverProcess::pid() const { return isRunning() ? process_->processId() : 0; }

std::vector<qint64> DriverProcess::processTree() const
{
    std::vector<qint64> tree;
    if (const qint64 p = pid()) {
        tree.push_back(p);
        const auto below = descendantProcesses(p);
        tree.insert(tree.end(), below.begin(), below.end());
    }
    return tree;
}

void DriverProcess::start(const QString& program, int readyTimeoutMs)
{
    const QFileInfo info(program);
    if (program.isEmpty() || !info.exists() || !info.isExecutable())
        throw WebDriverError(be::DriverMissing, QStringLiteral("Tarayıcı sürücüsü bulunamadı: %1").arg(program));
    QString failure;
    // A port taken between the probe and the driver's bind gets another try.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (launch(program, readyTimeoutMs, failure))
            return;
        stop();
    }
    throw WebDriverError(be::DriverStart, QStringLiteral("Tarayıcı sürücüsü başlatılamadı: %1").arg(program), {},
                         failure);
}

bool DriverProcess::launch(const QString& program, int readyTimeoutMs, QString& failure)
{
    const int port = freeLocalPort();
    if (port == 0) {
        failure = QStringLiteral("no free local port");
        return false;
    }
    process_ = std::make_unique<QProcess>();
    process_->setProgram(program);
    // SEVERE only: a chattier driver log would carry what is typed, passwords included.
    process_->setArguments({QStringLiteral("--port=%1").arg(port), QStringLiteral("--log-level=SEVERE")});
    process_->setProcessChannelMode(QProcess::MergedChannels);
#ifdef Q_OS_LINUX
    process_->setChildProcessModifier([] {
        ::setpgid(0, 0);                  // one group for the driver and its browser
        ::prctl(PR_SET_PDEATHSIG, SIGTERM); // and gone when we are
    });
#endif
    QObject::connect(process_.get(), &QProcess::readyRead, process_.get(), [this] {
        output_ += process_->readAll();
        if (output_.size() > 4096)
            output_ = output_.right(4096);
    });
    output_.clear();
    process_->start();
    if (!process_->waitForStarted(5000)) {
        failure = process_->errorString();
        return false;
    }
    launched_ = process_->processId();
    base_ = "http://127.0.0.1:" + std::to_string(port);
    http_ = std::make_unique<WebDriverHttp>(base_);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < readyTimeoutMs) {
        if (process_->state() == QProcess::NotRunning) {
            output_ += process_->readAll();
            failure = QString::fromUtf8(output_).trimmed();
            return false;
        }
        if (http_->ready(1000))
            return true;
        waitMs(50);
    }
    failure = QStringLiteral("no answer on port %1").arg(port);
    return false;
}

void DriverProcess::stop() noexcept
{
    if (!process_)
        return;
    try {
#ifdef Q_OS_LINUX
        // The browser is orphaned when the driver goes first: note it before.
        const qint64 group = launched_;
        std::vector<qint64> below = descendantProcesses(group);
#endif
        if (process_->state() != QProcess::NotRunning) {
            process_->terminate();
            if (!process_->waitForFinished(3000)) {
                process_->kill();
                process_->waitForFinished(2000);
            }
        }
#ifdef Q_OS_LINUX
        signalAll(below, SIGTERM);
        QElapsedTimer timer;
        timer.start();
        auto anyAlive = [&below] {
            for (qint64 p : below)
                if (processAlive(p))
                    return true;
            return false;
        };
        while (anyAlive() && timer.elapsed() < 2000)
            QThread::msleep(20);
        signalAll(below, SIGKILL);
        if (group > 0)
            ::kill(-pid_t(group), SIGKILL); // whatever the group still holds
#endif
    } catch (...) {
    }
    http_.reset();
    process_.reset();
    base_.clear();
    launched_ = 0;
}

} // namespace kuvela
