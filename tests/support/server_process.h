#pragma once
// The tests' local servers (python3 scripts under tests/) print "PORT <n>" once they listen.
#include <QProcess>
#include <QStringList>
#include <stdexcept>
#include <string>

namespace kuvela::test {

// Starts the script with its arguments and returns the port it listens on; throws when
// it does not come up (the process is ended again).
inline int startPortServer(QProcess& server, const QStringList& arguments, const std::string& what)
{
    server.setProgram(QStringLiteral("/usr/bin/python3"));
    server.setArguments(arguments);
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start();
    if (!server.waitForStarted(5000))
        throw std::runtime_error(what + " did not start");
    int port = 0;
    while (port == 0 && server.waitForReadyRead(10000)) {
        while (server.canReadLine()) {
            const QByteArray line = server.readLine().trimmed();
            if (line.startsWith("PORT "))
                port = line.mid(5).toInt();
        }
    }
    if (port == 0) {
        server.kill();
        server.waitForFinished(2000);
        throw std::runtime_error(what + " printed no port");
    }
    return port;
}

inline void stopServer(QProcess& server)
{
    server.terminate();
    if (!server.waitForFinished(3000)) {
        server.kill();
        server.waitForFinished(2000);
    }
}

} // namespace kuvela::test
