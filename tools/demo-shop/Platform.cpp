#include "Platform.h"

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Platform {

namespace {

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

int portOf(const sockaddr_storage& address)
{
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return -1;
}

} // namespace

void blockStopSignals()
{
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void waitForStopSignal()
{
    const sigset_t set = stopSignals();
    int signal = 0;
    sigwait(&set, &signal);
}

void raiseStopSignal()
{
    kill(getpid(), SIGTERM);
}

void closeConnection(int localPort, int peerPort)
{
    // The HTTP library does not hand its sockets to a handler, so the connection is found
    // among the process's descriptors by its two ports.
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    const int last = limit.rlim_cur > 65536 ? 65536 : int(limit.rlim_cur);
    for (int fd = 3; fd < last; ++fd) {
        sockaddr_storage local{};
        sockaddr_storage peer{};
        socklen_t localSize = sizeof local;
        socklen_t peerSize = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
            getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0)
            continue;
        if (portOf(local) == localPort && portOf(peer) == peerPort) {
            shutdown(fd, SHUT_RDWR);
            return;
        }
    }
}

} // namespace Platform
