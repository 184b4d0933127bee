#pragma once
// Cursors and icons, owned here and named by Picture numbers.

#include "WindowsApi.h"

#include <vector>

#include "platform/Runtime.h"

namespace velmora::win32 {

class Pictures {
public:
    Pictures() = default;
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;
    ~Pictures() {
        for (const HCURSOR cursor : cursors_) DestroyCursor(cursor);
    }

    Picture Add(HCURSOR cursor) {
        cursors_.push_back(cursor);
        return static_cast<Picture>(cursors_.size());
    }
    // Null for 0 and for numbers never handed out.
    HCURSOR Image(Picture picture) const {
        return picture == 0 || picture > cursors_.size() ? nullptr : cursors_[picture - 1];
    }

private:
    std::vector<HCURSOR> cursors_;
};

}  // namespace velmora::win32
