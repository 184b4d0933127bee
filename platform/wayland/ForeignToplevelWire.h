#pragma once
// What the foreign-toplevel window system needs from its connection to the compositor: the
// toplevels as announced so far, a way to take in what has arrived, and the requests it sends.

#include "ForeignToplevelList.h"

namespace velmora::wayland {

enum class ToplevelRequest {
    SetMaximized,
    UnsetMaximized,
    SetMinimized,
    UnsetMinimized,
    UnsetFullscreen,
    Activate,  // for the connection's seat
    Close,
    SetKeepAbove,
    UnsetKeepAbove,
    Hide,  // minimized and out of the task bar, switcher and pager
    Show,  // back from Hide
};

class ForeignToplevelWire {
public:
    virtual ~ForeignToplevelWire() = default;

    // The toplevels as the events taken in so far describe them.
    virtual const ForeignToplevelList& toplevels() const = 0;
    // Sends the requests made so far and takes in every event the compositor sent before it
    // answered. Throws RuntimeError when the connection has failed or the compositor does not
    // answer in time.
    virtual void Roundtrip() = 0;
    // The connection's socket: readable when events have arrived, which TakeInArrived takes in
    // without waiting. Taken in as they come, events never pile up while the program is idle
    // (a compositor drops a client that leaves its buffer full). TakeInArrived answers false
    // once the connection has failed; the next Roundtrip reports it.
    virtual int EventSocket() const = 0;
    virtual bool TakeInArrived() = 0;
    // Sends `request` for the toplevel at once; a toplevel that has closed is left alone.
    // Throws RuntimeError when the request cannot be sent or is not offered.
    virtual void Request(Hwnd toplevel, ToplevelRequest request) = 0;
    // Whether the compositor takes `request` (fullscreen requests from the wlroots protocol's
    // version 2 on; activation only where there is a seat to give the focus to).
    virtual bool Offers(ToplevelRequest request) const = 0;
};

// A wire over which the toplevels are listed when asked (each Roundtrip takes a whole listing)
// and nothing is announced in between: there is no socket to watch.
class ListingToplevelWire : public ForeignToplevelWire {
public:
    const ForeignToplevelList& toplevels() const override { return toplevels_; }
    int EventSocket() const override { return -1; }
    bool TakeInArrived() override { return true; }

protected:
    ForeignToplevelList toplevels_;  // keyed by the listing's own window ids
};

}  // namespace velmora::wayland
