#pragma once
// XCB replies are malloc'ed by the library and freed by the caller: this owns one.

#include <cstdlib>
#include <memory>

namespace velmora::x11 {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};

template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

}  // namespace velmora::x11
