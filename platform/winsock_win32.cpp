#include "udp_socket.h"

namespace km::platform {

bool winsock_up() {
    static const bool up = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return up;
}

} // namespace km::platform
