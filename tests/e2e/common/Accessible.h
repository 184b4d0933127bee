#pragma once
// The driver's side of the accessibility bus (AT-SPI through libatspi): what a screen reader
// reads of the program's windows and controls, fetched afresh at every call.

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct _AtspiAccessible;

namespace e2e {

class Accessible;
Accessible FindApplication(const std::string& name, pid_t pid);

struct ScreenBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// One object on the bus; empty when there is none.
class Accessible {
public:
    Accessible() = default;
    // Takes over a reference the caller owns.
    explicit Accessible(_AtspiAccessible* object) : object_(object) {}
    ~Accessible();
    Accessible(const Accessible& other);
    Accessible& operator=(Accessible other);

    explicit operator bool() const { return object_ != nullptr; }

    // The role as AT-SPI names it ("push button", "radio button", "table cell"...).
    std::string Role() const;
    std::string Name() const;
    pid_t ProcessId() const;
    bool Checked() const;
    bool Enabled() const;
    bool Focused() const;
    bool Showing() const;
    std::vector<Accessible> Children() const;
    Accessible Parent() const;
    // Depth first, this object included.
    std::vector<Accessible> FindAll(const std::function<bool(const Accessible&)>& wanted) const;
    Accessible Find(const std::function<bool(const Accessible&)>& wanted) const;

    // The text of an object with the Text interface.
    std::string Text() const;
    std::vector<std::string> Actions() const;
    // Does the named action, as a screen reader or voice control does; false when it cannot.
    bool DoAction(const std::string& name) const;
    // Moves the keyboard focus to the object, as a screen reader's focus command does.
    bool GrabFocus() const;
    std::optional<ScreenBox> Extents() const;

    // An object with the Table interface: its size, cells and column headers.
    int RowCount() const;
    int ColumnCount() const;
    Accessible Cell(int row, int column) const;
    std::string ColumnHeader(int column) const;

private:
    friend Accessible FindApplication(const std::string& name, pid_t pid);
    _AtspiAccessible* object_ = nullptr;
};

// Connects to the accessibility bus of the session; throws when there is none.
void ConnectToAccessibilityBus();

// The application of this process on the bus, if it is registered there under `name`. Its
// objects are never cached by the driver, so that every read shows the program as it is now.
Accessible FindApplication(const std::string& name, pid_t pid);

// The changes of check states announced on the bus while it lives: the object's name and
// whether it is now checked.
class CheckAnnouncements {
public:
    CheckAnnouncements();
    ~CheckAnnouncements();
    CheckAnnouncements(const CheckAnnouncements&) = delete;
    CheckAnnouncements& operator=(const CheckAnnouncements&) = delete;

    // Hands out what arrived since the last call.
    std::vector<std::pair<std::string, bool>> Take();

private:
    struct Listener;
    std::unique_ptr<Listener> listener_;
};

}  // namespace e2e
