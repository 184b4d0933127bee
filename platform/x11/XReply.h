#pragma once
// XCB replies are malloc'ed by the library and freed by the caller: this owns one.

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace velmora::x11 {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};

template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// Waits for the reply to a request sent unchecked and takes its error (a window that vanished
// meanwhile): an error nobody claims goes to the connection's event queue, which nobody reads
// here, and would stay there for good.
template <typename T, typename Cookie>
Reply<T> Await(T* (*wait)(xcb_connection_t*, Cookie, xcb_generic_error_t**),
               xcb_connection_t* connection, Cookie cookie) {
    xcb_generic_error_t* error = nullptr;
    Reply<T> reply(wait(connection, cookie, &error));
    std::free(error);
    return reply;
}

}  // namespace velmora::x11
