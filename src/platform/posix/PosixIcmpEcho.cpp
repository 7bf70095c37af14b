#include "platform/posix/IcmpPacket.h"
#include "platform/posix/PosixNet.h"

#include <arpa/inet.h>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace hh {

namespace {

using Steady = std::chrono::steady_clock;

struct Socket {
    int fd = -1;
    bool raw = false;
    ~Socket() {
        if (fd >= 0)
            ::close(fd);
    }
};

std::string executablePath() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("handlehound") : path.string();
}

// Written for the game console: no ';' and no '"'.
std::string permissionAdvice() {
    return "{Allow it with: sysctl -w net.ipv4.ping_group_range='0 2147483647'} "
           "{or: setcap cap_net_raw+ep " +
           executablePath() + "}";
}

bool isPermissionError(int error) {
    return error == EPERM || error == EACCES;
}

// The datagram socket first: it needs no privilege where ping_group_range
// admits our group. Otherwise a raw socket, which root and cap_net_raw get.
EchoOutcome openSocket(Socket& socket) {
    socket.fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (socket.fd >= 0) {
        const int on = 1; // ICMP errors for this socket arrive on its error queue
        ::setsockopt(socket.fd, IPPROTO_IP, IP_RECVERR, &on, sizeof on);
        return {EchoOutcome::Reply, 0, {}};
    }
    socket.fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    socket.raw = true;
    if (socket.fd >= 0)
        return {EchoOutcome::Reply, 0, {}};
    if (isPermissionError(errno))
        return {EchoOutcome::NoSocket, 0, permissionAdvice()};
    return {EchoOutcome::Failed, 0, std::strerror(errno)};
}

std::string sendErrorWords(int error) {
    switch (error) {
    case ENETUNREACH:
        return "Destination Net Unreachable";
    case EHOSTUNREACH:
        return "Destination Host Unreachable";
    case EACCES:
    case EPERM:
        return "Communication Administratively Prohibited";
    default:
        return std::strerror(error);
    }
}

// A datagram socket reports ICMP errors (and local ones) on its error queue.
// Returns the words when the queued error belongs to our request.
std::string readErrorQueue(int fd, std::uint16_t sequence) {
    std::uint8_t data[576];
    alignas(cmsghdr) char control[512];
    iovec io{data, sizeof data};
    msghdr message{};
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t size = ::recvmsg(fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
    if (size < 8 || (data[6] << 8 | data[7]) != sequence)
        return {};
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR)
            continue;
        sock_extended_err error;
        std::memcpy(&error, CMSG_DATA(c), sizeof error);
        if (error.ee_origin == SO_EE_ORIGIN_ICMP)
            return icmp::errorWords(error.ee_type, error.ee_code);
        return sendErrorWords(static_cast<int>(error.ee_errno));
    }
    return {};
}

int roundTripMs(Steady::time_point sent) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - sent).count());
}

std::uint16_t nextSequence() {
    static std::atomic<std::uint16_t> sequence{0};
    return ++sequence;
}

} // namespace

EchoOutcome PosixIcmpEcho::echo(const std::string& dottedIPv4, const std::string& payload,
                                int timeoutMs) {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    if (::inet_pton(AF_INET, dottedIPv4.c_str(), &target.sin_addr) != 1)
        return {EchoOutcome::Failed, 0, "Invalid Address"};
    Socket socket;
    if (EchoOutcome opened = openSocket(socket); opened.kind != EchoOutcome::Reply)
        return opened;

    // A raw socket sends our id as written; a datagram socket replaces it.
    const auto id = static_cast<std::uint16_t>(::getpid());
    const std::uint16_t sequence = nextSequence();
    const auto request = icmp::echoRequest(id, sequence, payload);
    const auto sent = Steady::now();
    if (::sendto(socket.fd, request.data(), request.size(), 0,
                 reinterpret_cast<const sockaddr*>(&target), sizeof target) < 0)
        return {EchoOutcome::Failed, 0, sendErrorWords(errno)};

    const auto deadline = sent + std::chrono::milliseconds(timeoutMs);
    std::uint8_t buffer[2048];
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Steady::now()).count();
        if (left <= 0)
            return {EchoOutcome::TimedOut, 0, {}};
        pollfd watch{socket.fd, POLLIN, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR)
            return {EchoOutcome::Failed, 0, std::strerror(errno)};
        if (ready <= 0)
            continue; // the deadline check above ends a quiet wait
        if (watch.revents & POLLERR) {
            std::string words = readErrorQueue(socket.fd, sequence);
            if (!words.empty())
                return {EchoOutcome::Failed, 0, std::move(words)};
        }
        if (!(watch.revents & POLLIN))
            continue;
        const ssize_t size = ::recv(socket.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (size <= 0)
            continue;
        const auto seen = icmp::classify(buffer, static_cast<std::size_t>(size), socket.raw,
                                         socket.raw, id, sequence);
        if (seen.kind == icmp::Seen::Reply)
            return {EchoOutcome::Reply, roundTripMs(sent), {}};
        if (seen.kind == icmp::Seen::Error)
            return {EchoOutcome::Failed, 0, seen.words};
    }
}

} // namespace hh
