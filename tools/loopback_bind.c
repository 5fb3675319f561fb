/* Preloaded into the program by run.sh when it serves the window through
 * Qt's VNC platform: that server always listens on every interface, and this
 * moves a listening socket on the one port named by KM207_LOOPBACK_PORT to
 * the loopback address. Every other bind() passes through unchanged. */
#define _GNU_SOURCE
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>

typedef int (*bind_fn)(int, const struct sockaddr*, socklen_t);

int bind(int fd, const struct sockaddr* addr, socklen_t len) {
    static bind_fn real_bind;
    if (!real_bind) real_bind = (bind_fn)dlsym(RTLD_NEXT, "bind");
    const char* want = getenv("KM207_LOOPBACK_PORT");
    const int port = want ? atoi(want) : 0;
    if (port > 0 && port < 65536 && addr) {
        if (addr->sa_family == AF_INET && len >= (socklen_t)sizeof(struct sockaddr_in)) {
            struct sockaddr_in a;
            memcpy(&a, addr, sizeof a);
            if (ntohs(a.sin_port) == port && a.sin_addr.s_addr == htonl(INADDR_ANY)) {
                a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
                return real_bind(fd, (const struct sockaddr*)&a, sizeof a);
            }
        } else if (addr->sa_family == AF_INET6 && len >= (socklen_t)sizeof(struct sockaddr_in6)) {
            struct sockaddr_in6 a;
            memcpy(&a, addr, sizeof a);
            if (ntohs(a.sin6_port) == port && IN6_IS_ADDR_UNSPECIFIED(&a.sin6_addr)) {
                /* A dual-stack socket: the IPv4 loopback in mapped form keeps
                 * "localhost:port" working for IPv4 viewers. */
                int v6only = 0;
                socklen_t sl = sizeof v6only;
                getsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &v6only, &sl);
                if (v6only) {
                    a.sin6_addr = in6addr_loopback;
                } else {
                    memset(&a.sin6_addr, 0, sizeof a.sin6_addr);
                    a.sin6_addr.s6_addr[10] = 0xff;
                    a.sin6_addr.s6_addr[11] = 0xff;
                    a.sin6_addr.s6_addr[12] = 127;
                    a.sin6_addr.s6_addr[15] = 1;
                }
                return real_bind(fd, (const struct sockaddr*)&a, sizeof a);
            }
        }
    }
    return real_bind(fd, addr, len);
}
